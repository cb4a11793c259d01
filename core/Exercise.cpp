#include "core/Exercise.h"

#include <algorithm>

#include "core/Catalogue.h"
#include "core/TypedEntry.h"

namespace bitwell {

std::string ExerciseError::Text() const { return std::to_string(line) + ": " + message; }

std::string ExerciseError::Text(std::string_view name) const {
    return std::string(name) + ":" + Text();
}

const std::vector<std::string>& ExerciseTexts::In(std::string_view language) const {
    for (std::size_t i = 0; i < kExerciseLanguages.size(); ++i)
        if (kExerciseLanguages[i] == language && !languages[i].empty()) return languages[i];
    return plain;
}

std::string Exercise::Title() const {
    const auto& lines = title.In(CurrentLanguage());
    return lines.empty() ? std::string() : lines.front();
}

std::string Exercise::Text() const {
    std::string joined;
    for (const std::string& line : text.In(CurrentLanguage())) {
        if (!joined.empty()) joined += '\n';
        joined += line;
    }
    return joined;
}

std::vector<std::string> Exercise::Hints() const { return hints.In(CurrentLanguage()); }

// ---- The file ----

namespace {

constexpr std::array<std::string_view, 7> kTypeLabels{
    "Byte (unsigned)",    "Byte (signed)",    "Short (unsigned)", "Short (signed)",
    "Integer (unsigned)", "Integer (signed)", "Float"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The listing's line of an English label (0 to 6); the label is one of them.
int TypeLine(std::string_view label) {
    return static_cast<int>(std::find(kTypeLabels.begin(), kTypeLabels.end(), label) - kTypeLabels.begin());
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The number of code points of strict UTF-8 (no overlong forms, no
// surrogates, nothing past U+10FFFF), or -1.
long Utf8Length(std::string_view s) {
    long count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        std::uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1Fu; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0Fu; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07u; }
        else return -1;
        if (i + extra >= s.size()) return -1;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return -1;
            cp = cp << 6 | (t & 0x3Fu);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return -1;
        i += extra + 1;
    }
    return count;
}

// A piece of the file quoted in a message: at most 40 characters, and kept
// to its own direction when it holds anything but ASCII.
std::string Quote(std::string_view s) {
    std::string out;
    bool ascii = true;
    std::size_t chars = 0, i = 0;
    for (; i < s.size() && chars < 40; ++chars) {
        std::size_t len = 1;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) ascii = false;
        if (c >= 0xF0) len = 4;
        else if (c >= 0xE0) len = 3;
        else if (c >= 0xC0) len = 2;
        i += std::min(len, s.size() - i);
    }
    out.assign(s.substr(0, i));
    if (i < s.size()) out += "\u2026";
    if (!ascii) out = "\u2068" + out + "\u2069";
    // TRANSLATORS: a piece of the exercise file inside an error message, in this language's quotation marks.
    return Arg(Tr("exercise", "\"%1\""), {out});
}

class Parser {
public:
    explicit Parser(Exercise& ex) : m_ex(ex) {}

    // One line (1-based number, without its end) and, after the last, the
    // checks that belong to no line: false with `error` set at the first
    // fault.
    bool Line(int number, std::string_view line);
    bool Finish();
    ExerciseError error;

private:
    bool Fault(std::string message) {
        error.line = m_line;
        error.message = std::move(message);
        return false;
    }
    bool Text(std::string_view key, std::string_view rest);
    bool Given(const std::vector<std::string_view>& t);
    bool GoalLine(std::string_view rest, const std::vector<std::string_view>& t);
    bool Types(std::string_view rest, Goal& goal);

    // Token checks: each sets the error and returns false.
    bool Need(const std::vector<std::string_view>& t, std::size_t i, std::string_view what);
    bool End(const std::vector<std::string_view>& t, std::size_t n);
    bool Range(std::string_view s, bool rangeAllowed, int& first, int& last);
    bool Word(std::string_view s, int& value);
    bool Pattern(std::string_view s, std::string& pattern);
    bool Number(std::string_view s, unsigned long& n);
    bool Op(std::string_view s, Comparison& op);

    Exercise& m_ex;
    int m_line = 0;
    bool m_title = false;
    std::array<bool, 4> m_titles{};
};

std::vector<std::string_view> Tokens(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t start = std::string_view::npos;
    auto flush = [&](std::size_t end) {
        if (start != std::string_view::npos && end > start) out.push_back(s.substr(start, end - start));
        start = std::string_view::npos;
    };
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (IsBlank(c)) {
            flush(i);
            ++i;
        } else if (c == '=') {
            flush(i);
            out.push_back(s.substr(i, 1));
            ++i;
        } else if ((c == '<' || c == '>') && i + 1 < s.size() && s[i + 1] == '=') {
            flush(i);
            out.push_back(s.substr(i, 2));
            i += 2;
        } else {
            if (start == std::string_view::npos) start = i;
            ++i;
        }
    }
    flush(s.size());
    return out;
}

bool Parser::Line(int number, std::string_view raw) {
    m_line = number;
    const long length = Utf8Length(raw);
    if (length < 0) return Fault(Tr("exercise", "the line is not UTF-8 text"));
    if (static_cast<std::size_t>(length) > kExerciseMaxLineCharacters)
        return Fault(Tr("exercise", "the line is longer than 1,000 characters"));
    for (const char c : raw)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            return Fault(Tr("exercise", "the line holds a control character"));
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') return true;

    // A text key runs up to its colon with no blank in it.
    std::size_t key = 0;
    while (key < line.size() && !IsBlank(line[key]) && line[key] != ':' && line[key] != '=') ++key;
    if (key < line.size() && line[key] == ':') return Text(line.substr(0, key), line.substr(key + 1));

    const std::string_view word = line.substr(0, key);
    const std::string_view rest = line.substr(key);
    if (word == "given") return Given(Tokens(rest));
    if (word == "goal") return GoalLine(Trim(rest), Tokens(rest));
    return Fault(Arg(Tr("exercise", "unknown keyword %1"), {Quote(word)}));
}

bool Parser::Text(std::string_view key, std::string_view rest) {
    std::string_view name = key, language;
    if (const auto dot = key.find('.'); dot != std::string_view::npos) {
        name = key.substr(0, dot);
        language = key.substr(dot + 1);
    }
    ExerciseTexts* texts = name == "title" ? &m_ex.title
                           : name == "text" ? &m_ex.text
                           : name == "hint" ? &m_ex.hints
                                            : nullptr;
    if (!texts) return Fault(Arg(Tr("exercise", "unknown keyword %1"), {Quote(key)}));
    std::vector<std::string>* lines = &texts->plain;
    bool* seen = &m_title;
    if (key.find('.') != std::string_view::npos) {
        const auto at = std::find(kExerciseLanguages.begin(), kExerciseLanguages.end(), language);
        if (at == kExerciseLanguages.end())
            return Fault(Arg(Tr("exercise", "unknown language %1"), {Quote(language)}));
        const auto index = static_cast<std::size_t>(at - kExerciseLanguages.begin());
        lines = &texts->languages[index];
        seen = &m_titles[index];
    }
    const std::string_view text = Trim(rest);
    if (text.empty()) return Fault(Tr("exercise", "the text after the colon is empty"));
    if (texts == &m_ex.title) {
        if (*seen) return Fault(Tr("exercise", "a second title"));
        *seen = true;
    }
    lines->emplace_back(text);
    return true;
}

bool Parser::Need(const std::vector<std::string_view>& t, std::size_t i, std::string_view what) {
    if (i < t.size()) return true;
    return Fault(Arg(Tr("exercise", "%1 is missing at the end"), {what}));
}

bool Parser::End(const std::vector<std::string_view>& t, std::size_t n) {
    if (t.size() <= n) return true;
    return Fault(Arg(Tr("exercise", "unexpected %1"), {Quote(t[n])}));
}

bool Parser::Range(std::string_view s, bool rangeAllowed, int& first, int& last) {
    if (s.size() == 1 && HexValue(s[0]) >= 0) {
        first = last = HexValue(s[0]);
        return true;
    }
    if (rangeAllowed && s.size() == 3 && s[1] == '-' && HexValue(s[0]) >= 0 && HexValue(s[2]) >= 0) {
        first = HexValue(s[0]);
        last = HexValue(s[2]);
        if (first <= last) return true;
        return Fault(Arg(Tr("exercise", "the range %1 runs backwards"), {Quote(s)}));
    }
    return Fault(Arg(Tr("exercise", "bad hex address %1"), {Quote(s)}));
}

bool Parser::Word(std::string_view s, int& value) {
    value = 0;
    bool ok = s.size() == 4;
    for (std::size_t i = 0; ok && i < 4; ++i) {
        ok = HexValue(s[i]) >= 0;
        value = value << 4 | HexValue(s[i]);
    }
    if (ok) return true;
    return Fault(Arg(Tr("exercise", "bad hex word %1"), {Quote(s)}));
}

bool Parser::Pattern(std::string_view s, std::string& pattern) {
    bool ok = s.size() == 4;
    pattern.clear();
    for (std::size_t i = 0; ok && i < 4; ++i) {
        ok = s[i] == '?' || HexValue(s[i]) >= 0;
        pattern += s[i] == '?' ? '?' : "0123456789ABCDEF"[HexValue(s[i]) & 0xF];
    }
    if (ok) return true;
    return Fault(Arg(Tr("exercise", "bad hex pattern %1"), {Quote(s)}));
}

bool Parser::Number(std::string_view s, unsigned long& n) {
    n = 0;
    bool ok = !s.empty();
    for (std::size_t i = 0; ok && i < s.size(); ++i) {
        ok = s[i] >= '0' && s[i] <= '9';
        n = n * 10 + static_cast<unsigned long>(s[i] - '0');
        ok = ok && n <= 999999;
    }
    if (ok) return true;
    return Fault(Arg(Tr("exercise", "%1 is not a number from 0 to 999999"), {Quote(s)}));
}

bool Parser::Op(std::string_view s, Comparison& op) {
    if (s == "=") op = Comparison::Equal;
    else if (s == "<=") op = Comparison::AtMost;
    else if (s == ">=") op = Comparison::AtLeast;
    else return Fault(Arg(Tr("exercise", "expected =, <= or >= instead of %1"), {Quote(s)}));
    return true;
}

bool Parser::Given(const std::vector<std::string_view>& t) {
    if (!Need(t, 0, Tr("exercise", "what is given"))) return false;
    const std::string_view what = t[0];
    auto equals = [&](std::size_t i) {
        if (!Need(t, i, "\"=\"")) return false;
        if (t[i] == "=") return true;
        return Fault(Arg(Tr("exercise", "expected \"=\" instead of %1"), {Quote(t[i])}));
    };
    if (what == "memory") {
        int first, last, word;
        if (!Need(t, 1, Tr("exercise", "an address")) || !Range(t[1], true, first, last) ||
            !equals(2) || !Need(t, 3, Tr("exercise", "a word")) || !Word(t[3], word) || !End(t, 4))
            return false;
        for (int a = first; a <= last; ++a) m_ex.memory[static_cast<std::size_t>(a)] = word;
        return true;
    }
    if (what == "order") {
        if (!equals(1) || !Need(t, 2, "big|little")) return false;
        if (t[2] != "big" && t[2] != "little")
            return Fault(Arg(Tr("exercise", "expected big or little instead of %1"), {Quote(t[2])}));
        if (!End(t, 3)) return false;
        m_ex.order = t[2] == "big" ? 1 : 0;
        return true;
    }
    if (what == "address") {
        int first, last;
        if (!equals(1) || !Need(t, 2, Tr("exercise", "an address")) || !Range(t[2], false, first, last) ||
            !End(t, 3))
            return false;
        m_ex.address = first;
        return true;
    }
    if (what == "data") {
        int word;
        if (!equals(1) || !Need(t, 2, Tr("exercise", "a word")) || !Word(t[2], word) || !End(t, 3))
            return false;
        m_ex.data = word;
        return true;
    }
    static constexpr std::array<std::string_view, 5> kSignals{"CE", "OE", "WE", "LB", "UB"};
    const auto signal = std::find(kSignals.begin(), kSignals.end(), what);
    if (signal == kSignals.end())
        return Fault(Arg(Tr("exercise", "unknown given %1"), {Quote(what)}));
    if (!equals(1) || !Need(t, 2, "0|1")) return false;
    if (t[2] != "0" && t[2] != "1")
        return Fault(Arg(Tr("exercise", "expected 0 or 1 instead of %1"), {Quote(t[2])}));
    if (!End(t, 3)) return false;
    m_ex.controls.emplace_back(static_cast<Control>(signal - kSignals.begin()), t[2] == "1" ? 1 : 0);
    return true;
}

bool Parser::Types(std::string_view rest, Goal& goal) {
    // "types LABEL = VALUE": the label runs up to the "=".
    rest = Trim(rest.substr(5));
    const std::size_t eq = rest.find('=');
    std::string label;
    for (const char c : Trim(rest.substr(0, eq))) {
        if (IsBlank(c)) {
            if (!label.empty() && label.back() != ' ') label += ' ';
        } else {
            label += c;
        }
    }
    if (std::find(kTypeLabels.begin(), kTypeLabels.end(), label) == kTypeLabels.end())
        return Fault(Arg(Tr("exercise", "unknown listing label %1"), {Quote(label)}));
    if (eq == std::string_view::npos) return Need({}, 0, "\"=\"");
    const std::string_view value = Trim(rest.substr(eq + 1));
    if (value.empty()) return Need({}, 0, Tr("exercise", "a value"));
    const auto blank = std::find_if(value.begin(), value.end(), IsBlank);
    if (blank != value.end())
        return Fault(Arg(Tr("exercise", "unexpected %1"),
                         {Quote(Trim(value.substr(static_cast<std::size_t>(blank - value.begin()))))}));
    goal.label = label;
    goal.value = value;
    return true;
}

bool Parser::GoalLine(std::string_view rest, const std::vector<std::string_view>& t) {
    if (m_ex.goals.size() >= kExerciseMaxGoals)
        return Fault(Tr("exercise", "more than 50 goals"));
    if (!Need(t, 0, Tr("exercise", "what the goal is"))) return false;
    Goal goal;
    goal.line = m_line;
    const std::string_view what = t[0];
    auto equals = [&](std::size_t i) {
        if (!Need(t, i, "\"=\"")) return false;
        if (t[i] == "=") return true;
        return Fault(Arg(Tr("exercise", "expected \"=\" instead of %1"), {Quote(t[i])}));
    };
    bool ok;
    if (what == "memory") {
        ok = Need(t, 1, Tr("exercise", "an address")) && Range(t[1], true, goal.first, goal.last) &&
             Need(t, 2, Tr("exercise", "\"=\" or unchanged"));
        if (ok && t[2] == "unchanged") {
            goal.kind = GoalKind::Unchanged;
            ok = End(t, 3);
        } else if (ok) {
            ok = equals(2) && Need(t, 3, Tr("exercise", "a pattern")) && Pattern(t[3], goal.pattern) &&
                 End(t, 4);
        }
    } else if (what == "read") {
        goal.kind = GoalKind::Read;
        ok = equals(1) && Need(t, 2, Tr("exercise", "a pattern")) && Pattern(t[2], goal.pattern) &&
             End(t, 3);
    } else if (what == "address") {
        goal.kind = GoalKind::Address;
        ok = equals(1) && Need(t, 2, Tr("exercise", "an address")) &&
             Range(t[2], false, goal.first, goal.last) && End(t, 3);
    } else if (what == "order") {
        goal.kind = GoalKind::Order;
        ok = equals(1) && Need(t, 2, "big|little");
        if (ok && t[2] != "big" && t[2] != "little")
            ok = Fault(Arg(Tr("exercise", "expected big or little instead of %1"), {Quote(t[2])}));
        ok = ok && End(t, 3);
        goal.bigEndian = ok && t[2] == "big";
    } else if (what == "types") {
        goal.kind = GoalKind::Types;
        ok = Types(rest, goal);
    } else if (what == "count") {
        goal.kind = GoalKind::Count;
        ok = Need(t, 1, "read|write");
        if (ok && t[1] != "read" && t[1] != "write")
            ok = Fault(Arg(Tr("exercise", "expected read or write instead of %1"), {Quote(t[1])}));
        std::size_t i = 2;
        if (ok) goal.cycle = t[1] == "read" ? Cycle::Read : Cycle::Write;
        if (ok && i < t.size() && t[i] == "at") {
            goal.at = true;
            ok = Need(t, i + 1, Tr("exercise", "an address")) && Range(t[i + 1], true, goal.first, goal.last);
            i += 2;
        }
        if (ok && i < t.size() && t[i] == "bytes") {
            ok = Need(t, i + 1, "both|upper|lower");
            if (ok) {
                const std::string_view b = t[i + 1];
                goal.bytes = b == "both" ? Bytes::Both : b == "upper" ? Bytes::Upper
                             : b == "lower" ? Bytes::Lower : Bytes::None;
                if (goal.bytes == Bytes::None)
                    ok = Fault(Arg(Tr("exercise", "expected both, upper or lower instead of %1"),
                                   {Quote(b)}));
            }
            i += 2;
        }
        ok = ok && Need(t, i, "=|<=|>=") && Op(t[i], goal.op) && Need(t, i + 1, Tr("exercise", "a number")) &&
             Number(t[i + 1], goal.n) && End(t, i + 2);
    } else if (what == "actions") {
        goal.kind = GoalKind::Actions;
        ok = Need(t, 1, "=|<=|>=") && Op(t[1], goal.op) && Need(t, 2, Tr("exercise", "a number")) &&
             Number(t[2], goal.n) && End(t, 3);
    } else {
        return Fault(Arg(Tr("exercise", "unknown goal %1"), {Quote(what)}));
    }
    if (!ok) return false;
    m_ex.goals.push_back(std::move(goal));
    return true;
}

bool Parser::Finish() {
    m_line = 0;
    if (m_ex.title.plain.empty()) return Fault(Tr("exercise", "the file has no title"));
    if (m_ex.text.plain.empty()) return Fault(Tr("exercise", "the file has no text"));
    if (m_ex.goals.empty()) return Fault(Tr("exercise", "the file has no goal"));
    return true;
}

}  // namespace

bool ParseExercise(std::string_view bytes, std::string_view name, Exercise& out,
                   ExerciseError& error) {
    if (bytes.size() > kExerciseMaxBytes) {
        error = {0, Tr("exercise", "the file is larger than 64 KiB")};
        return false;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    Exercise ex;
    ex.name = name;
    Parser parser(ex);
    int number = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (++number > kExerciseMaxLines) {
            error = {kExerciseMaxLines + 1, Tr("exercise", "the file has more than 500 lines")};
            return false;
        }
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r' && end < bytes.size()) line.remove_suffix(1);
        pos = end + 1;
        if (!parser.Line(number, line)) {
            error = parser.error;
            return false;
        }
    }
    if (!parser.Finish()) {
        error = parser.error;
        return false;
    }
    out = std::move(ex);
    return true;
}

// ---- Links ----

namespace {

int Base64UrlValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '-') return 62;
    if (c == '_') return 63;
    return -1;
}

}  // namespace

bool DecodeExerciseLink(std::string_view link, std::string& bytes, ExerciseError& error) {
    static constexpr std::string_view kKey = "exercise=";
    if (const auto at = link.find("#exercise="); at != std::string_view::npos)
        link.remove_prefix(at + 1 + kKey.size());
    else if (link.substr(0, kKey.size()) == kKey)
        link.remove_prefix(kKey.size());
    std::size_t pad = 0;
    while (pad < 2 && pad < link.size() && link[link.size() - 1 - pad] == '=') ++pad;
    link.remove_suffix(pad);
    // Four characters carry three bytes.
    if (link.size() > (kExerciseMaxBytes + 2) / 3 * 4) {
        error = {0, Tr("exercise", "the file is larger than 64 KiB")};
        return false;
    }
    const bool badLength = link.size() % 4 == 1 || (pad > 0 && (link.size() + pad) % 4 != 0);
    std::string out;
    out.reserve(link.size() / 4 * 3 + 2);
    std::uint32_t acc = 0;
    int bits = 0;
    for (const char c : link) {
        const int v = Base64UrlValue(c);
        if (v < 0 || badLength) {
            error = {0, Tr("exercise", "the link does not hold an exercise in base64url")};
            return false;
        }
        acc = (acc << 6 | static_cast<std::uint32_t>(v)) & 0xFFFFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    if (badLength || link.empty()) {
        error = {0, Tr("exercise", "the link does not hold an exercise in base64url")};
        return false;
    }
    bytes = std::move(out);
    return true;
}

std::string EncodeExerciseLink(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::uint32_t acc = 0;
    int bits = 0;
    for (const char c : bytes) {
        acc = (acc << 8 | static_cast<unsigned char>(c)) & 0xFFFFFF;
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            out += kAlphabet[(acc >> bits) & 63];
        }
    }
    if (bits > 0) out += kAlphabet[(acc << (6 - bits)) & 63];
    return out;
}

// ---- The session ----

namespace {

// Four upper-case hex digits as the panel holds them; 0 for anything else.
std::uint16_t Word16(const std::string& text) {
    if (text.size() != 4) return 0;
    unsigned v = 0;
    for (const char d : text) v = v << 4 | static_cast<unsigned>(HexValue(d) & 0xF);
    return static_cast<std::uint16_t>(v);
}

// Each label's value in the data type listing ("LABEL: VALUE" lines), in
// the order of kTypeLabels; empty for a label it lacks.
// The listing is the panel's, in the language chosen: its values are read
// by line, whatever its labels say.
void ReadTypes(std::string_view listing, std::array<std::string_view, kTypeLabels.size()>& values) {
    for (std::size_t k = 0; k < kTypeLabels.size(); ++k) values[k] = TypesValue(listing, static_cast<int>(k));
}

}  // namespace

ExerciseSession::ExerciseSession(Panel& panel, Listener* listener)
    : m_panel(panel), m_listener(listener) {
    m_panel.setObserver(this);
}

ExerciseSession::~ExerciseSession() {
    if (m_panel.observer() == this) m_panel.setObserver(nullptr);
}

bool ExerciseSession::Open(std::string_view bytes, std::string_view name, ExerciseError& error) {
    Exercise parsed;
    if (!ParseExercise(bytes, name, parsed, error)) return false;
    Start(parsed);
    return true;
}

void ExerciseSession::Start(const Exercise& exercise) {
    if (&exercise != &m_exercise) m_exercise = exercise;
    m_open = true;
    Restart();
}

void ExerciseSession::Restart() {
    if (!m_open) return;
    const Exercise& ex = m_exercise;
    m_starting = true;
    m_panel.PowerUpAfresh();
    m_panel.StoreWords(ex.memory);
    if (ex.order >= 0) m_panel.ChooseOrder(ex.order == 1);
    if (ex.address >= 0)
        for (int bit = 3; bit >= 0; --bit) m_panel.MoveAddressBit(bit, (ex.address >> bit) & 1);
    if (ex.data >= 0) {
        std::vector<TypedCharacter> word;
        for (int d = 3; d >= 0; --d)
            word.push_back({std::u16string(1, static_cast<char16_t>("0123456789ABCDEF"[(ex.data >> (4 * d)) & 0xF]))});
        m_panel.EnterTypedWord(word);
    }
    for (const auto& [control, value] : ex.controls) m_panel.MoveLevel(control, value);
    m_panel.ClearTrace();
    m_starting = false;

    for (std::size_t i = 0; i < 16; ++i) {
        m_startWords[i] = m_panel.device().memWords[i];
        m_words[i] = m_start[i] = Word16(m_startWords[i]);
    }
    m_compiled.assign(ex.goals.size(), {});
    for (auto& kind : m_byKind) kind.clear();
    for (std::size_t i = 0; i < ex.goals.size(); ++i) {
        const Goal& goal = ex.goals[i];
        Compiled& c = m_compiled[i];
        for (const char d : goal.pattern) {
            c.mask = static_cast<std::uint16_t>(c.mask << 4 | (d == '?' ? 0 : 0xF));
            c.value = static_cast<std::uint16_t>(c.value << 4 | (d == '?' ? 0 : HexValue(d)));
        }
        if (goal.kind == GoalKind::Types)
            c.label = static_cast<std::size_t>(std::find(kTypeLabels.begin(), kTypeLabels.end(), goal.label) -
                                               kTypeLabels.begin());
        m_byKind[static_cast<std::size_t>(goal.kind)].push_back(i);
    }
    m_checked = false;
    m_counts.assign(ex.goals.size(), 0);
    m_countsAtCheck.assign(ex.goals.size(), 0);
    m_cycles = {};
    m_actions = 0;
    m_done = false;
    m_doneActions = 0;
    m_holds.assign(ex.goals.size(), 0);
    m_failing = ex.goals.size();
    m_countsMoved.clear();
    m_hintsShown = 0;
    if (m_listener) m_listener->exerciseChanged();
    Check();
}

void ExerciseSession::Close() {
    if (!m_open) return;
    m_open = false;
    m_done = false;
    m_exercise = Exercise();
    m_holds.clear();
    m_hintsShown = 0;
    if (m_listener) m_listener->exerciseChanged();
}

bool ExerciseSession::HasMoreHints() const {
    return m_open && m_hintsShown < m_exercise.Hints().size();
}

void ExerciseSession::NextHint() {
    if (HasMoreHints()) ++m_hintsShown;
}

std::vector<std::string> ExerciseSession::ShownHints() const {
    std::vector<std::string> hints = m_open ? m_exercise.Hints() : std::vector<std::string>();
    hints.resize(std::min(hints.size(), m_hintsShown));
    return hints;
}

void ExerciseSession::evaluated(const TraceStep&, const Evaluation& done) {
    if (!m_open || m_starting || done.cycle == Cycle::None || done.bytes == Bytes::None) return;
    const auto a = static_cast<std::size_t>(done.address) & 15;
    if (done.cycle == Cycle::Write) {
        m_words[a] = Word16(m_panel.device().memWords[a]);
        m_wordsChanged = true;
    }
    ++m_cycles[done.cycle == Cycle::Write][a][static_cast<std::size_t>(done.bytes) - 1];
    for (const std::size_t i : m_byKind[static_cast<std::size_t>(GoalKind::Count)]) {
        const Goal& g = m_exercise.goals[i];
        if (g.cycle == done.cycle && (g.bytes == Bytes::None || g.bytes == done.bytes) &&
            (!g.at || (done.address >= g.first && done.address <= g.last)))
        {
            // The count lives in m_counts; a goal is listed once per check.
            if (m_counts[i]++ == m_countsAtCheck[i]) m_countsMoved.push_back(i);
        }
    }
}

void ExerciseSession::actionEnded() {
    if (!m_open || m_starting) return;
    ++m_actions;
    Check();
}

unsigned long ExerciseSession::cycles(Cycle cycle, int first, int last, Bytes bytes) const {
    if (cycle == Cycle::None) return 0;
    unsigned long n = 0;
    const auto& table = m_cycles[cycle == Cycle::Write];
    for (int a = std::max(first, 0); a <= std::min(last, 15); ++a) {
        const auto& counts = table[static_cast<std::size_t>(a)];
        n += bytes == Bytes::None ? counts[0] + counts[1] + counts[2]
                                  : counts[static_cast<std::size_t>(bytes) - 1];
    }
    return n;
}

namespace {

bool Matches(std::string_view word, std::string_view pattern) {
    if (word.size() != 4 || pattern.size() != 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (pattern[i] != '?' && pattern[i] != word[i]) return false;
    return true;
}

bool Compare(unsigned long value, Comparison op, unsigned long n) {
    switch (op) {
        case Comparison::Equal: return value == n;
        case Comparison::AtMost: return value <= n;
        case Comparison::AtLeast: return value >= n;
    }
    return false;
}

// What the listing shows for `label`, or "" when it has no such line.
std::string Digit(int a) { return std::string(1, "0123456789ABCDEF"[a & 15]); }

}  // namespace

struct ExerciseSession::Now {
    std::uint16_t read = 0;
    int address = 0;
    bool big = true;
    // The data type listing's values by label, read on first need.
    bool typesRead = false;
    std::array<std::string_view, kTypeLabels.size()> types;  // into the panel's listing
};

bool ExerciseSession::Holds(std::size_t index, Now& now) const {
    const Goal& goal = m_exercise.goals[index];
    const Compiled& c = m_compiled[index];
    const auto first = static_cast<std::size_t>(goal.first), last = static_cast<std::size_t>(goal.last);
    switch (goal.kind) {
        case GoalKind::Memory:
            for (std::size_t a = first; a <= last; ++a)
                if ((m_words[a] & c.mask) != c.value) return false;
            return true;
        case GoalKind::Unchanged:
            for (std::size_t a = first; a <= last; ++a)
                if (m_words[a] != m_start[a]) return false;
            return true;
        case GoalKind::Read: return (now.read & c.mask) == c.value;
        case GoalKind::Address: return now.address >= goal.first && now.address <= goal.last;
        case GoalKind::Order: return now.big == goal.bigEndian;
        case GoalKind::Types:
            if (!now.typesRead) {
                now.typesRead = true;
                ReadTypes(m_panel.typesText(), now.types);
            }
            return now.types[c.label] == goal.value;
        case GoalKind::Count: return Compare(m_counts[index], goal.op, goal.n);
        case GoalKind::Actions: return Compare(m_actions, goal.op, goal.n);
    }
    return false;
}

void ExerciseSession::Check() {
    if (!m_open) return;
    Now now;
    now.read = Word16(m_panel.readText());
    const std::string addressText = m_panel.addressText();
    now.address = addressText.empty() ? 0 : HexValue(addressText[0]);
    now.big = m_panel.bigEndian();
    // Each kind of goal again only when what it reads has changed.
    const bool first = !m_checked;
    const bool words = first || m_wordsChanged, address = first || now.address != m_lastAddress,
               order = first || now.big != m_lastBig;
    const bool changed[8] = {words,                        // Memory
                             words,                        // Unchanged
                             first || now.read != m_lastRead,
                             address,
                             order,
                             words || address || order,    // Types: the listing
                             first,                        // Count: those that moved, below
                             true};                        // Actions
    auto check = [&](std::size_t i) {
        const unsigned char h = Holds(i, now) ? 1 : 0;
        m_failing = m_failing + m_holds[i] - h;
        m_holds[i] = h;
    };
    for (std::size_t kind = 0; kind < m_byKind.size(); ++kind)
        if (changed[kind])
            for (const std::size_t i : m_byKind[kind]) check(i);
    if (!first)
        for (const std::size_t i : m_countsMoved) check(i);
    for (const std::size_t i : m_countsMoved) m_countsAtCheck[i] = m_counts[i];
    m_countsMoved.clear();
    m_checked = true;
    m_wordsChanged = false;
    m_lastRead = now.read;
    m_lastAddress = now.address;
    m_lastBig = now.big;
    const bool all = m_failing == 0;
    const bool becameDone = all && !m_done;
    if (becameDone) {
        m_done = true;
        m_doneActions = m_actions;
    }
    if (m_listener) {
        m_listener->goalsChecked();
        if (becameDone) m_listener->exerciseDone();
    }
}

std::string ExerciseSession::DoneText() const {
    if (!m_done) return {};
    return Arg(TrN("exercise", "Done in %1 action.", "Done in %1 actions.", m_doneActions),
               {std::to_string(m_doneActions)});
}

std::vector<ExerciseSession::GoalItem> ExerciseSession::Goals() const {
    std::vector<GoalItem> items;
    if (!m_open) return items;
    for (std::size_t i = 0; i < m_exercise.goals.size(); ++i)
        items.push_back({Describe(m_exercise.goals[i], m_holds[i] != 0), m_holds[i] != 0});
    return items;
}

std::string ExerciseSession::Describe(const Goal& goal, bool holds) const {
    const WordStore& words = m_panel.device().memWords;
    const bool one = goal.first == goal.last;
    const std::string first = Digit(goal.first), last = Digit(goal.last);
    switch (goal.kind) {
        case GoalKind::Memory: {
            int wrong = goal.first;
            while (wrong < goal.last && Matches(words[static_cast<std::size_t>(wrong)], goal.pattern)) ++wrong;
            const std::string& held = words[static_cast<std::size_t>(wrong)];
            if (one)
                return holds ? Arg(Tr("exercise", "Word %1 holds %2."), {first, goal.pattern})
                             : Arg(Tr("exercise", "Word %1 should hold %2; it holds %3."),
                                   {first, goal.pattern, held});
            return holds ? Arg(Tr("exercise", "Words %1 to %2 hold %3."), {first, last, goal.pattern})
                         : Arg(Tr("exercise", "Words %1 to %2 should hold %3; word %4 holds %5."),
                               {first, last, goal.pattern, Digit(wrong), held});
        }
        case GoalKind::Unchanged: {
            int wrong = goal.first;
            while (wrong < goal.last &&
                   words[static_cast<std::size_t>(wrong)] == m_startWords[static_cast<std::size_t>(wrong)])
                ++wrong;
            const auto w = static_cast<std::size_t>(wrong);
            if (one)
                return holds ? Arg(Tr("exercise", "Word %1 keeps %2."), {first, m_startWords[w]})
                             : Arg(Tr("exercise", "Word %1 should keep %2; it holds %3."),
                                   {first, m_startWords[w], words[w]});
            return holds ? Arg(Tr("exercise", "Words %1 to %2 keep what they held."), {first, last})
                         : Arg(Tr("exercise", "Words %1 to %2 should keep what they held; word %3 "
                                              "holds %4 instead of %5."),
                               {first, last, Digit(wrong), words[w], m_startWords[w]});
        }
        case GoalKind::Read:
            return holds ? Arg(Tr("exercise", "The read word is %1."), {goal.pattern})
                         : Arg(Tr("exercise", "The read word should be %1; it is %2."),
                               {goal.pattern, m_panel.readText()});
        case GoalKind::Address:
            return holds ? Arg(Tr("exercise", "The address is %1."), {first})
                         : Arg(Tr("exercise", "The address should be %1; it is %2."),
                               {first, m_panel.addressText()});
        case GoalKind::Order:
            if (holds)
                return goal.bigEndian ? Tr("exercise", "The word order is Big Endian.")
                                      : Tr("exercise", "The word order is Little Endian.");
            return goal.bigEndian ? Tr("exercise", "The word order should be Big Endian; it is Little Endian.")
                                  : Tr("exercise", "The word order should be Little Endian; it is Big Endian.");
        case GoalKind::Types:
        {
            // The label as the listing shows it in the chosen language.
            const int line = TypeLine(goal.label);
            const std::string label = TypesLabel(line);
            return holds ? Arg(Tr("exercise", "%1 shows %2."), {label, goal.value})
                         : Arg(Tr("exercise", "%1 should show %2; it shows %3."),
                               {label, goal.value, TypesValue(m_panel.typesText(), line)});
        }
        case GoalKind::Count: {
            std::string where;
            if (goal.at)
                where = one ? Arg(Tr("exercise", " at address %1"), {first})
                            : Arg(Tr("exercise", " at addresses %1 to %2"), {first, last});
            if (goal.bytes == Bytes::Both) where += Tr("exercise", ", both bytes");
            if (goal.bytes == Bytes::Upper) where += Tr("exercise", ", upper byte only");
            if (goal.bytes == Bytes::Lower) where += Tr("exercise", ", lower byte only");
            const unsigned long n = goal.n;
            const bool write = goal.cycle == Cycle::Write;
            std::string form;
            switch (goal.op) {
                case Comparison::Equal:
                    form = write ? TrN("exercise", "Exactly %1 write cycle%2; so far %3.",
                                       "Exactly %1 write cycles%2; so far %3.", n)
                                 : TrN("exercise", "Exactly %1 read cycle%2; so far %3.",
                                       "Exactly %1 read cycles%2; so far %3.", n);
                    break;
                case Comparison::AtMost:
                    form = write ? TrN("exercise", "At most %1 write cycle%2; so far %3.",
                                       "At most %1 write cycles%2; so far %3.", n)
                                 : TrN("exercise", "At most %1 read cycle%2; so far %3.",
                                       "At most %1 read cycles%2; so far %3.", n);
                    break;
                case Comparison::AtLeast:
                    form = write ? TrN("exercise", "At least %1 write cycle%2; so far %3.",
                                       "At least %1 write cycles%2; so far %3.", n)
                                 : TrN("exercise", "At least %1 read cycle%2; so far %3.",
                                       "At least %1 read cycles%2; so far %3.", n);
                    break;
            }
            // None at all has its own sentence: some languages put a count of 0 in the singular.
            if (n == 0 && goal.op != Comparison::AtLeast)
                form = write ? Tr("exercise", "No write cycle%2; so far %3.")
                             : Tr("exercise", "No read cycle%2; so far %3.");
            const unsigned long sofar =
                cycles(goal.cycle, goal.at ? goal.first : 0, goal.at ? goal.last : 15, goal.bytes);
            return Arg(form, {std::to_string(n), where, std::to_string(sofar)});
        }
        case GoalKind::Actions: {
            const unsigned long n = goal.n;
            std::string form;
            switch (goal.op) {
                case Comparison::Equal:
                    form = TrN("exercise", "Exactly %1 action; so far %2.", "Exactly %1 actions; so far %2.", n);
                    break;
                case Comparison::AtMost:
                    form = TrN("exercise", "At most %1 action; so far %2.", "At most %1 actions; so far %2.", n);
                    break;
                case Comparison::AtLeast:
                    form = TrN("exercise", "At least %1 action; so far %2.", "At least %1 actions; so far %2.", n);
                    break;
            }
            return Arg(form, {std::to_string(n), std::to_string(m_actions)});
        }
    }
    return {};
}

}  // namespace bitwell
