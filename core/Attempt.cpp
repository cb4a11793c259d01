#include "core/Attempt.h"

#include <array>
#include <cstdio>

#include "core/Catalogue.h"
#include "core/Panel.h"

namespace bitwell {

namespace {

constexpr std::string_view kMagic = "bitwell-attempt 1";
constexpr std::string_view kLearner = "learner: ";
constexpr std::string_view kExercise = "exercise: ";

// The controls as the file names them, in the order of Control.
constexpr std::array<std::string_view, 5> kControls{"CE", "OE", "WE", "LB", "UB"};
static_assert(static_cast<std::size_t>(Control::UB) + 1 == kControls.size());
// A trace step's cause names a control by the same number, then A0 to A3,
// D0 to D15 and the order.
static_assert(static_cast<int>(Cause::UB) == static_cast<int>(Control::UB) &&
              static_cast<int>(Cause::A0) == 5 && static_cast<int>(Cause::D0) == 9 &&
              static_cast<int>(Cause::Order) == 25);

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t cp = c;
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1Fu; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0Fu; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07u; }
        else if (c >= 0x80) return false;
        if (s.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = cp << 6 | (t & 0x3Fu);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

// A whole decimal number of at most two digits without a leading zero, or -1.
int SmallNumber(std::string_view s) {
    if (s.empty() || s.size() > 2 || (s.size() == 2 && s[0] == '0')) return -1;
    int n = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

int HexWord(std::string_view s) {
    if (s.size() != 4) return -1;
    int n = 0;
    for (const char c : s) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0) return -1;
        n = n * 16 + d;
    }
    return n;
}

// One action line, or false.
bool ParseAction(std::string_view line, AttemptAction& a) {
    using Kind = AttemptAction::Kind;
    if (line == "restart") {
        a = {.kind = Kind::Restart};
        return true;
    }
    if (line == "order big" || line == "order little") {
        a = {.kind = Kind::Order, .bigEndian = line == "order big"};
        return true;
    }
    if (line.substr(0, 5) == "data ") {
        const int word = HexWord(line.substr(5));
        a = {.kind = Kind::Data, .value = word};
        return word >= 0;
    }
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || line.size() != space + 2) return false;
    const char value = line[space + 1];
    if (value != '0' && value != '1') return false;
    const std::string_view name = line.substr(0, space);
    if (name.empty()) return false;
    for (std::size_t c = 0; c < kControls.size(); ++c) {
        if (name == kControls[c]) {
            a = {.kind = Kind::Level, .control = static_cast<Control>(c), .value = value - '0'};
            return true;
        }
    }
    const int bit = SmallNumber(name.substr(1));
    if (name[0] == 'A' && bit >= 0 && bit <= 3) {
        a = {.kind = Kind::AddressBit, .bit = bit, .value = value - '0'};
        return true;
    }
    if (name[0] == 'D' && bit >= 0 && bit <= 15) {
        a = {.kind = Kind::DataBit, .bit = bit, .value = value - '0'};
        return true;
    }
    return false;
}

// A piece of a line quoted in a message: its first 40 characters.
std::string Quoted(std::string_view line) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) continue;
        if (count++ == 40) break;
    }
    return "\"" + std::string(line.substr(0, at)) + (at < line.size() ? "…\"" : "\"");
}

void AppendCsv(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string WriteAttempt(const Attempt& attempt) {
    using Kind = AttemptAction::Kind;
    std::string out(kMagic);
    out += "\n";
    out += kLearner;
    for (const char c : attempt.learner) out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    out += "\n";
    out += kExercise;
    out += EncodeExerciseLink(attempt.exercise);
    out += "\n";
    char word[8];
    for (const AttemptAction& a : attempt.actions) {
        switch (a.kind) {
        case Kind::Level:
            out += kControls[static_cast<std::size_t>(a.control) % kControls.size()];
            out += a.value ? " 1" : " 0";
            break;
        case Kind::AddressBit:
        case Kind::DataBit:
            out += a.kind == Kind::AddressBit ? 'A' : 'D';
            out += std::to_string(a.bit);
            out += a.value ? " 1" : " 0";
            break;
        case Kind::Data:
            std::snprintf(word, sizeof word, "%04X", static_cast<unsigned>(a.value) & 0xFFFFu);
            out += "data ";
            out += word;
            break;
        case Kind::Order: out += a.bigEndian ? "order big" : "order little"; break;
        case Kind::Restart: out += "restart"; break;
        }
        out += "\n";
    }
    return out;
}

bool ReadAttempt(std::string_view bytes, Attempt& out, ExerciseError& error) {
    if (bytes.size() > kAttemptMaxBytes) {
        error = {0, Tr("attempt", "the file is larger than 4 MiB")};
        return false;
    }
    // A byte order mark, as some editors put before UTF-8 text.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    Attempt read;
    int number = 0;
    while (!bytes.empty()) {
        ++number;
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto fail = [&](std::string message) {
            error = {number, std::move(message)};
            return false;
        };
        if (!IsUtf8(line)) return fail(Tr("exercise", "the line is not UTF-8 text"));
        if (number == 1) {
            if (line != kMagic) return fail(Tr("attempt", "this is not a Bitwell attempt file"));
        } else if (number == 2) {
            if (line.substr(0, kLearner.size()) != kLearner)
                return fail(Tr("attempt", "the second line must be \"learner:\" and the learner's name"));
            read.learner = line.substr(kLearner.size());
        } else if (number == 3) {
            if (line.substr(0, kExercise.size()) != kExercise)
                return fail(Tr("attempt", "the third line must be \"exercise:\" and the exercise file in base64url"));
            ExerciseError link;
            if (!DecodeExerciseLink(line.substr(kExercise.size()), read.exercise, link))
                return fail(link.message);
        } else if (!line.empty()) {
            AttemptAction action;
            if (!ParseAction(line, action))
                return fail(Arg(Tr("attempt", "unknown action %1"), {Quoted(line)}));
            read.actions.push_back(action);
        }
    }
    if (number < 3) {
        error = {number + 1, Tr("attempt", "the file ends before the exercise")};
        return false;
    }
    out = std::move(read);
    return true;
}

bool GradeAttempt(const Attempt& attempt, AttemptGrade& grade, ExerciseError& error) {
    using Kind = AttemptAction::Kind;
    Panel panel;
    ExerciseSession session(panel);
    ExerciseError opened;
    if (!session.Open(attempt.exercise, "exercise", opened)) {
        error = {3, Arg(Tr("attempt", "the exercise does not open: %1"), {opened.Text()})};
        return false;
    }
    char word[8];
    for (const AttemptAction& a : attempt.actions) {
        switch (a.kind) {
        case Kind::Level: panel.MoveLevel(a.control, a.value); break;
        case Kind::AddressBit: panel.MoveAddressBit(a.bit, a.value); break;
        case Kind::DataBit: panel.MoveDataBit(a.bit, a.value); break;
        case Kind::Data:
            std::snprintf(word, sizeof word, "%04X", static_cast<unsigned>(a.value) & 0xFFFFu);
            panel.EditDataText(word);
            break;
        case Kind::Order: panel.ChooseOrder(a.bigEndian); break;
        case Kind::Restart: session.Restart(); break;
        }
    }
    const Exercise& exercise = session.exercise();
    grade = {.title = exercise.title.plain.empty() ? std::string() : exercise.title.plain.front(),
             .done = session.done(),
             .actions = session.actions(),
             .goals = exercise.goals.size()};
    for (std::size_t g = 0; g < exercise.goals.size(); ++g) {
        if (session.holds(g)) ++grade.goalsHeld;
        else if (grade.firstUnmet == 0) grade.firstUnmet = exercise.goals[g].line;
    }
    return true;
}

void AttemptRecord::Open(std::string exercise) {
    m_attempt.exercise = std::move(exercise);
    m_attempt.actions.clear();
    m_recording = true;
    m_steps = 0;
}

void AttemptRecord::Restarted() {
    m_attempt.actions.push_back({.kind = AttemptAction::Kind::Restart});
    m_recording = true;
    m_steps = 0;
}

void AttemptRecord::Step(const TraceStep& step) {
    if (!m_recording) return;
    m_cause = step.cause;
    ++m_steps;
}

void AttemptRecord::ActionEnded(const Panel& panel) {
    using Kind = AttemptAction::Kind;
    const std::size_t steps = m_steps;
    m_steps = 0;
    if (!m_recording || steps == 0) return;
    const auto cause = static_cast<int>(m_cause);
    constexpr int kA0 = static_cast<int>(Cause::A0), kD0 = static_cast<int>(Cause::D0);
    AttemptAction a;
    if (steps > 1) {
        int word = 0;
        for (int bit = 15; bit >= 0; --bit) word = word << 1 | panel.dataBit(bit);
        a = {.kind = Kind::Data, .value = word};
    } else if (m_cause == Cause::Order) {
        a = {.kind = Kind::Order, .bigEndian = panel.bigEndian()};
    } else if (cause < kA0) {
        a = {.kind = Kind::Level, .control = static_cast<Control>(cause), .value = panel.level(static_cast<Control>(cause))};
    } else if (cause < kD0) {
        a = {.kind = Kind::AddressBit, .bit = cause - kA0, .value = panel.addressBit(cause - kA0)};
    } else {
        a = {.kind = Kind::DataBit, .bit = cause - kD0, .value = panel.dataBit(cause - kD0)};
    }
    m_attempt.actions.push_back(a);
}

std::string AttemptRecord::Write(std::string_view learner) {
    m_attempt.learner = learner;
    return WriteAttempt(m_attempt);
}

std::string GradeCsvRow(std::string_view file, std::string_view learner, const AttemptGrade& grade) {
    std::string row;
    AppendCsv(row, file);
    row += ',';
    AppendCsv(row, learner);
    row += ',';
    AppendCsv(row, grade.title);
    row += grade.done ? ",1," : ",0,";
    row += std::to_string(grade.actions) + ',' + std::to_string(grade.goalsHeld) + ',' +
           std::to_string(grade.goals) + ',';
    if (grade.firstUnmet > 0) row += std::to_string(grade.firstUnmet);
    row += "\r\n";
    return row;
}

}  // namespace bitwell
