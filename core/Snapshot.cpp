// The resume snapshot: written after every action for a course site to
// keep, read back once when the learner returns. Parsed strictly, since the
// site hands back whatever it stored: anything that does not fit the open
// exercise exactly starts it afresh.

#include "core/Snapshot.h"

#include "core/ExerciseKinds.h"
#include "core/Zip.h"

namespace bitwell {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr char kBytes[] = "bul";  // Bytes::Both, Upper, Lower

void Hex(std::string& out, unsigned long value, int digits) {
    for (int d = digits - 1; d >= 0; --d) out += kDigits[(value >> (4 * d)) & 0xF];
}

// A cursor over the snapshot's fields, each "K=value" in a fixed order.
class Reader {
public:
    explicit Reader(std::string_view text) : m_rest(text) {}
    // The next field's value when it is named `key`; false otherwise.
    bool Field(char key, std::string_view& value) {
        if (m_done || m_rest.size() < 2 || m_rest[0] != key || m_rest[1] != '=') return false;
        const std::size_t end = m_rest.find(';');
        value = m_rest.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2);
        if (end == std::string_view::npos) m_done = true;
        m_rest = end == std::string_view::npos ? std::string_view() : m_rest.substr(end + 1);
        return true;
    }
    bool AtEnd() const { return m_done; }

private:
    std::string_view m_rest;
    bool m_done = false;
};

// All of `text` as a number in `base` (upper-case hex digits), at most `max`.
bool Number(std::string_view text, unsigned long long max, unsigned long long& out, int base = 10) {
    if (text.empty() || text.size() > 12) return false;
    out = 0;
    for (const char c : text) {
        const int digit = base == 16 && (c < 'a' || c > 'f') ? HexValue(c) : c >= '0' && c <= '9' ? c - '0' : -1;
        if (digit < 0) return false;
        out = out * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    return out <= max;
}

// `text` split at `separator`; nothing at all for "".
std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    if (text.empty()) return parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (end == std::string_view::npos) return parts;
        at = end + 1;
    }
}

}  // namespace

std::string WriteSnapshot(const ExerciseSession& session, std::string_view exerciseBytes) {
    if (!session.isOpen()) return {};
    const SessionState& s = *session.m_state;
    const Panel::State panel = session.m_panel.Saved();
    std::string out = "B1;X=";
    Hex(out, Crc32(exerciseBytes), 8);
    out += ";M=";
    for (const int word : panel.words) Hex(out, static_cast<unsigned long>(word), 4);
    out += ";L=";
    for (const int level : panel.levels) out += level ? '1' : '0';
    out += ";A=";
    Hex(out, static_cast<unsigned long>(panel.address), 1);
    out += ";D=";
    Hex(out, static_cast<unsigned long>(panel.data), 4);
    out += ";Q=";
    Hex(out, static_cast<unsigned long>(panel.read), 4);
    out += panel.bigEndian ? ";O=b" : ";O=l";
    out += ";S=" + std::to_string(panel.steps) + '.' + std::to_string(panel.actions);
    out += ";N=" + std::to_string(s.actions);
    out += ";H=" + std::to_string(session.m_hintsShown);
    out += ";F=" + (session.m_done ? std::to_string(session.m_doneActions) : std::string("-"));
    out += ";C=";
    const std::size_t counts = out.size();
    for (std::size_t kind = 0; kind < 2; ++kind)
        for (std::size_t a = 0; a < 16; ++a)
            for (std::size_t b = 0; b < 3; ++b)
                if (const unsigned long n = s.cycles[kind][a][b]) {
                    if (out.size() > counts) out += '.';
                    out += kind ? 'w' : 'r';
                    out += kDigits[a];
                    out += kBytes[b];
                    out += std::to_string(n);
                }
    out += ";G=";
    const std::size_t states = out.size();
    for (std::size_t i = 0; i < s.step.size(); ++i)
        if (s.step[i]) out += (out.size() > states ? "." : "") + std::to_string(i) + ':' + std::to_string(s.step[i]);
    return out;
}

bool ResumeSnapshot(ExerciseSession& session, std::string_view exerciseBytes, std::string_view snapshot) {
    if (!session.isOpen()) return false;
    session.Restart();
    if (snapshot.size() > kSnapshotMaxCharacters || snapshot.substr(0, 3) != "B1;") return false;
    constexpr unsigned long long kMost = 4000000000ULL;  // any count a session reaches
    Reader read(snapshot.substr(3));
    std::string_view x, m, l, a, d, q, o, steps, n, h, f, c, g;
    if (!read.Field('X', x) || !read.Field('M', m) || !read.Field('L', l) || !read.Field('A', a) ||
        !read.Field('D', d) || !read.Field('Q', q) || !read.Field('O', o) || !read.Field('S', steps) ||
        !read.Field('N', n) || !read.Field('H', h) || !read.Field('F', f) || !read.Field('C', c) ||
        !read.Field('G', g) || !read.AtEnd())
        return false;
    unsigned long long value = 0;
    if (x.size() != 8 || !Number(x, 0xFFFFFFFF, value, 16) || value != Crc32(exerciseBytes)) return false;
    Panel::State panel;
    if (m.size() != 64 || l.size() != 5 || a.size() != 1 || d.size() != 4 || q.size() != 4) return false;
    for (std::size_t i = 0; i < 16; ++i) {
        if (!Number(m.substr(4 * i, 4), 0xFFFF, value, 16)) return false;
        panel.words[i] = static_cast<int>(value);
    }
    for (std::size_t k = 0; k < 5; ++k) {
        if (l[k] != '0' && l[k] != '1') return false;
        panel.levels[k] = l[k] - '0';
    }
    if (!Number(a, 15, value, 16)) return false;
    panel.address = static_cast<int>(value);
    if (!Number(d, 0xFFFF, value, 16)) return false;
    panel.data = static_cast<int>(value);
    if (!Number(q, 0xFFFF, value, 16)) return false;
    panel.read = static_cast<int>(value);
    if (o != "b" && o != "l") return false;
    panel.bigEndian = o == "b";
    const auto counters = Split(steps, '.');
    unsigned long long stepCount = 0, actionCount = 0;
    if (counters.size() != 2 || !Number(counters[0], kMost, stepCount) || !Number(counters[1], kMost, actionCount))
        return false;
    panel.steps = stepCount;
    panel.actions = actionCount;
    unsigned long long actions = 0, hints = 0, doneAt = 0;
    if (!Number(n, kMost, actions) || !Number(h, session.exercise().Hints().size(), hints)) return false;
    const bool done = f != "-";
    if (done && !Number(f, actions, doneAt)) return false;

    SessionState& s = *session.m_state;
    decltype(s.cycles) cycles{};
    for (const std::string_view item : Split(c, '.')) {
        const int at = item.size() > 3 ? HexValue(item[1]) : -1;
        const char* bytes = item.size() > 3 ? std::char_traits<char>::find(kBytes, 3, item[2]) : nullptr;
        if ((item[0] != 'r' && item[0] != 'w') || at < 0 || (item[1] >= 'a' && item[1] <= 'f') || !bytes ||
            !Number(item.substr(3), kMost, value) || value == 0)
            return false;
        unsigned long& slot = cycles[item[0] == 'w'][static_cast<std::size_t>(at)][static_cast<std::size_t>(bytes - kBytes)];
        if (slot) return false;
        slot = static_cast<unsigned long>(value);
    }
    std::vector<std::uint64_t> states(s.step.size(), 0);
    for (const std::string_view item : Split(g, '.')) {
        const auto parts = Split(item, ':');
        unsigned long long goal = 0;
        if (parts.size() != 2 || !Number(parts[0], states.size() - 1, goal) || !Number(parts[1], stepCount, value) ||
            value == 0 || states[goal])
            return false;
        const GoalKind kind = session.exercise().goals[goal].kind;
        if (kind != GoalKind::Never && kind != GoalKind::Then) return false;
        states[goal] = value;
    }
    // The `then` goals are met in file order: those met come first.
    std::size_t met = 0;
    while (met < s.thens.size() && states[s.thens[met]]) ++met;
    for (std::size_t k = met; k < s.thens.size(); ++k)
        if (states[s.thens[k]]) return false;

    session.m_panel.Restore(panel);
    for (std::size_t i = 0; i < 16; ++i) s.words[i] = static_cast<std::uint16_t>(panel.words[i]);
    s.cycles = cycles;
    for (std::size_t i = 0; i < s.counts.size(); ++i) {
        const Goal& goal = session.exercise().goals[i];
        if (goal.kind == GoalKind::Count)
            s.counts[i] = CountCycles(s, goal.cycle, goal.at ? goal.first : 0, goal.at ? goal.last : 15, goal.bytes);
    }
    s.step = states;
    s.nextThen = met;
    s.actions = static_cast<unsigned long>(actions);
    s.lastAddress = panel.address;
    s.lastData = static_cast<std::uint16_t>(panel.data);
    s.checked = false;
    s.allHeld = false;
    session.m_hintsShown = static_cast<std::size_t>(hints);
    session.m_done = done;
    session.m_doneActions = static_cast<unsigned long>(doneAt);
    if (session.m_listener) session.m_listener->exerciseChanged();
    session.Check();
    return true;
}

}  // namespace bitwell
