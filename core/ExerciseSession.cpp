// The session that checks: it starts an exercise on a panel, follows every
// evaluation for the goals that watch them (counts, never, then) and checks
// the other goals after each action, each only when what it reads changed.

#include <algorithm>

#include "core/Catalogue.h"
#include "core/ExerciseKinds.h"
#include "core/Listings.h"

namespace bitwell {

namespace {

bool Compare(unsigned long value, Comparison op, unsigned long n) {
    switch (op) {
        case Comparison::Equal: return value == n;
        case Comparison::AtMost: return value <= n;
        case Comparison::AtLeast: return value >= n;
    }
    return false;
}

std::uint16_t Span(int first, int last) {
    return static_cast<std::uint16_t>(((1u << (last + 1)) - 1) & ~((1u << first) - 1));
}

Compiled Compile(const Goal& goal) {
    Compiled c;
    for (const char d : goal.pattern) {
        c.mask = static_cast<std::uint16_t>(c.mask << 4 | (d == '?' ? 0 : 0xF));
        c.value = static_cast<std::uint16_t>(c.value << 4 | (d == '?' ? 0 : HexValue(d)));
    }
    if (goal.kind == GoalKind::Types) c.label = static_cast<std::size_t>(TypeLine(goal.label));
    for (const Condition& k : goal.conditions) {
        switch (k.what) {
            case Condition::What::Level: {
                const auto bit = static_cast<std::uint8_t>(1u << static_cast<unsigned>(k.control));
                if ((c.levelMask & bit) && ((c.levelValue & bit) != 0) != (k.level != 0)) c.impossible = true;
                c.levelMask |= bit;
                if (k.level) c.levelValue |= bit;
                break;
            }
            case Condition::What::AddressChanges: c.addressChanges = true; break;
            case Condition::What::DataChanges: c.dataChanges = true; break;
            case Condition::What::Cycle:
                if (c.cycle != Cycle::None && c.cycle != k.cycle) c.impossible = true;
                c.cycle = k.cycle;
                if (k.at) c.cycleAt &= Span(k.first, k.last);
                break;
        }
    }
    return c;
}

}  // namespace

void ReadTypes(std::string_view listing, std::array<std::string_view, 7>& values) {
    for (std::size_t k = 0; k < values.size(); ++k) values[k] = TypesValue(listing, static_cast<int>(k));
}

std::string TypesAtValue(const SessionState& s, const Goal& goal) {
    const std::string listing =
        TypesListing(s.panel->device().memWords, goal.first, Digit(goal.first), s.panel->bigEndian());
    return std::string(TypesValue(listing, TypeLine(goal.label)));
}

unsigned long CountCycles(const SessionState& s, Cycle cycle, int first, int last, Bytes bytes) {
    if (cycle == Cycle::None) return 0;
    unsigned long n = 0;
    const auto& table = s.cycles[cycle == Cycle::Write];
    for (int a = std::max(first, 0); a <= std::min(last, 15); ++a) {
        const auto& counts = table[static_cast<std::size_t>(a)];
        n += bytes == Bytes::None ? counts[0] + counts[1] + counts[2] : counts[static_cast<std::size_t>(bytes) - 1];
    }
    return n;
}

// ---- Whether each kind holds ----

bool HoldsMemory(const SessionState& s, std::size_t i, Now&) {
    const Goal& goal = s.exercise->goals[i];
    const Compiled& c = s.compiled[i];
    for (auto a = static_cast<std::size_t>(goal.first); a <= static_cast<std::size_t>(goal.last); ++a)
        if ((s.words[a] & c.mask) != c.value) return false;
    return true;
}
bool HoldsUnchanged(const SessionState& s, std::size_t i, Now&) {
    const Goal& goal = s.exercise->goals[i];
    for (auto a = static_cast<std::size_t>(goal.first); a <= static_cast<std::size_t>(goal.last); ++a)
        if (s.words[a] != s.start[a]) return false;
    return true;
}
bool HoldsRead(const SessionState& s, std::size_t i, Now& now) {
    return (now.read & s.compiled[i].mask) == s.compiled[i].value;
}
bool HoldsData(const SessionState& s, std::size_t i, Now& now) {
    return (now.data & s.compiled[i].mask) == s.compiled[i].value;
}
bool HoldsAddress(const SessionState& s, std::size_t i, Now& now) {
    return now.address == s.exercise->goals[i].first;
}
bool HoldsOrder(const SessionState& s, std::size_t i, Now& now) {
    return now.big == s.exercise->goals[i].bigEndian;
}
bool HoldsLevel(const SessionState& s, std::size_t i, Now& now) {
    const Goal& goal = s.exercise->goals[i];
    return ((now.levels >> static_cast<unsigned>(goal.control)) & 1u) == static_cast<unsigned>(goal.level);
}
bool HoldsTypes(const SessionState& s, std::size_t i, Now& now) {
    const Goal& goal = s.exercise->goals[i];
    if (goal.at) return TypesAtValue(s, goal) == goal.value;
    if (!now.typesRead) {
        now.typesRead = true;
        ReadTypes(s.panel->typesText(), now.types);
    }
    return now.types[s.compiled[i].label] == goal.value;
}
bool HoldsCount(const SessionState& s, std::size_t i, Now&) {
    const Goal& goal = s.exercise->goals[i];
    return Compare(s.counts[i], goal.op, goal.n);
}
bool HoldsActions(const SessionState& s, std::size_t i, Now&) {
    const Goal& goal = s.exercise->goals[i];
    return Compare(s.actions, goal.op, goal.n);
}
bool HoldsNever(const SessionState& s, std::size_t i, Now&) { return s.step[i] == 0; }
bool HoldsThen(const SessionState& s, std::size_t i, Now&) { return s.step[i] != 0; }

// ---- The session ----

ExerciseSession::ExerciseSession(Panel& panel, Listener* listener)
    : m_panel(panel), m_listener(listener), m_state(std::make_unique<SessionState>()) {
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

bool ExerciseSession::Open(std::string_view bytes, std::string_view name, std::vector<ExerciseError>& problems) {
    Exercise parsed;
    if (!CheckExercise(bytes, name, parsed, problems)) return false;
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

    SessionState& s = *m_state;
    s = SessionState();
    s.panel = &m_panel;
    s.exercise = &m_exercise;
    for (std::size_t i = 0; i < 16; ++i) {
        s.startWords[i] = m_panel.device().memWords[i];
        s.words[i] = s.start[i] = Word16(s.startWords[i]);
    }
    const std::size_t n = ex.goals.size();
    for (std::size_t i = 0; i < n; ++i) {
        s.compiled.push_back(Compile(ex.goals[i]));
        s.byKind[static_cast<std::size_t>(ex.goals[i].kind)].push_back(i);
        if (ex.goals[i].kind == GoalKind::Then) s.thens.push_back(i);
    }
    s.counts.assign(n, 0);
    s.step.assign(n, 0);
    s.holds.assign(n, 0);
    s.listed.assign(n, 0);
    s.failing = n;
    s.lastAddress = HexValue(m_panel.addressText().empty() ? '0' : m_panel.addressText()[0]);
    s.lastData = Word16(m_panel.dataText());
    m_done = false;
    m_doneActions = 0;
    m_hintsShown = 0;
    if (m_listener) m_listener->exerciseChanged();
    Check();
}

void ExerciseSession::Close() {
    if (!m_open) return;
    m_open = false;
    m_done = false;
    m_exercise = Exercise();
    *m_state = SessionState();
    m_hintsShown = 0;
    if (m_listener) m_listener->exerciseChanged();
}

bool ExerciseSession::MemoryChanged() const {
    if (!m_open) return !m_panel.MemoryAtPowerOn();
    for (std::size_t i = 0; i < 16; ++i)
        if (m_panel.device().memWords[i] != m_state->startWords[i]) return true;
    return false;
}

bool ExerciseSession::holds(std::size_t goal) const { return m_state->holds[goal] != 0; }
unsigned long ExerciseSession::actions() const { return m_state->actions; }
bool ExerciseSession::holdsAll() const { return m_open && m_state->allHeld; }

unsigned long ExerciseSession::cycles(Cycle cycle, int first, int last, Bytes bytes) const {
    return CountCycles(*m_state, cycle, first, last, bytes);
}

bool ExerciseSession::HasMoreHints() const { return m_open && m_hintsShown < m_exercise.Hints().size(); }

void ExerciseSession::NextHint() {
    if (HasMoreHints()) ++m_hintsShown;
}

std::vector<std::string> ExerciseSession::ShownHints() const {
    std::vector<std::string> hints = m_open ? m_exercise.Hints() : std::vector<std::string>();
    hints.resize(std::min(hints.size(), m_hintsShown));
    return hints;
}

void ExerciseSession::evaluated(const TraceStep& step, const Evaluation& done) {
    if (!m_open || m_starting) return;
    SessionState& s = *m_state;
    auto move = [&s](std::size_t i) {
        if (!s.listed[i]) {
            s.listed[i] = 1;
            s.moved.push_back(i);
        }
    };
    const auto a = static_cast<std::size_t>(done.address) & 15;
    const bool cycle = done.cycle != Cycle::None && done.bytes != Bytes::None;
    if (cycle) {
        if (done.cycle == Cycle::Write) {
            s.words[a] = Word16(m_panel.device().memWords[a]);
            s.inputsChanged |= kWords;
        }
        ++s.cycles[done.cycle == Cycle::Write][a][static_cast<std::size_t>(done.bytes) - 1];
        for (const std::size_t i : s.byKind[static_cast<std::size_t>(GoalKind::Count)]) {
            const Goal& g = m_exercise.goals[i];
            if (g.cycle == done.cycle && (g.bytes == Bytes::None || g.bytes == done.bytes) &&
                (!g.at || (done.address >= g.first && done.address <= g.last))) {
                ++s.counts[i];
                move(i);
            }
        }
    }
    const auto& nevers = s.byKind[static_cast<std::size_t>(GoalKind::Never)];
    if (nevers.empty() && s.nextThen >= s.thens.size()) return;
    const int address = step.address.empty() ? 0 : HexValue(step.address[0]) & 15;
    const std::uint16_t data = Word16(step.data);
    const bool addressChanged = address != s.lastAddress, dataChanged = data != s.lastData;
    s.lastAddress = address;
    s.lastData = data;
    std::uint8_t levels = 0;
    for (unsigned k = 0; k < 5; ++k)
        if (step.levels[k]) levels = static_cast<std::uint8_t>(levels | 1u << k);
    for (const std::size_t i : nevers) {
        const Compiled& c = s.compiled[i];
        if (s.step[i] || c.impossible || (levels & c.levelMask) != c.levelValue ||
            (c.addressChanges && !addressChanged) || (c.dataChanges && !dataChanged))
            continue;
        if (c.cycle != Cycle::None && (!cycle || done.cycle != c.cycle || !((c.cycleAt >> a) & 1u))) continue;
        s.step[i] = step.step;
        move(i);
    }
    if (s.nextThen < s.thens.size() && cycle) {
        const std::size_t i = s.thens[s.nextThen];
        const Goal& g = m_exercise.goals[i];
        const Compiled& c = s.compiled[i];
        const std::uint16_t result = Word16(done.cycle == Cycle::Read ? step.read : step.word);
        if (g.cycle == done.cycle && (g.bytes == Bytes::None || g.bytes == done.bytes) &&
            (!g.at || (done.address >= g.first && done.address <= g.last)) && (result & c.mask) == c.value) {
            s.step[i] = step.step;
            ++s.nextThen;
            move(i);
        }
    }
}

void ExerciseSession::actionEnded() {
    if (!m_open || m_starting) return;
    ++m_state->actions;
    Check();
}

void ExerciseSession::Check() {
    if (!m_open) return;
    SessionState& s = *m_state;
    Now now;
    now.read = Word16(m_panel.readText());
    const std::string address = m_panel.addressText();
    now.address = address.empty() ? 0 : HexValue(address[0]);
    now.big = m_panel.bigEndian();
    now.data = Word16(m_panel.dataText());
    for (unsigned k = 0; k < 5; ++k)
        if (m_panel.level(static_cast<Control>(k))) now.levels = static_cast<std::uint8_t>(now.levels | 1u << k);
    // Each kind of goal again only when what it reads has changed.
    const bool first = !s.checked;
    unsigned changed = s.inputsChanged | kActions;
    if (now.read != s.last.read) changed |= kRead;
    if (now.address != s.last.address) changed |= kAddress;
    if (now.big != s.last.big) changed |= kOrder;
    if (now.levels != s.last.levels) changed |= kLevels;
    if (now.data != s.last.data) changed |= kData;
    if (first) changed = ~0u;
    auto check = [&](std::size_t i) {
        const unsigned char h = KindOf(m_exercise.goals[i].kind).holds(s, i, now) ? 1 : 0;
        s.failing = s.failing + s.holds[i] - h;
        s.holds[i] = h;
    };
    for (const GoalKindEntry& entry : GoalKindTable())
        if (entry.watches & changed & (first ? ~0u : ~(kCounted | kEvaluations)))
            for (const std::size_t i : s.byKind[static_cast<std::size_t>(entry.kind)]) check(i);
    for (const std::size_t i : s.moved) {
        if (!first) check(i);
        s.listed[i] = 0;
    }
    s.moved.clear();
    s.checked = true;
    s.inputsChanged = 0;
    now.typesRead = false;
    s.last = now;
    const bool all = s.failing == 0;
    const bool becameDone = all && !m_done;
    const bool broken = m_done && s.allHeld && !all;
    s.allHeld = all;
    if (becameDone) {
        m_done = true;
        m_doneActions = s.actions;
    }
    if (m_listener) {
        m_listener->goalsChecked();
        if (becameDone) m_listener->exerciseDone();
        if (broken) m_listener->exerciseUndone();
    }
}

bool HoldsAtStart(const Exercise& ex) {
    static Panel panel;
    ExerciseSession session(panel);
    session.Start(ex);
    return session.holdsAll();
}

}  // namespace bitwell
