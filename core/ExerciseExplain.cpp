// The explanations: each goal in words for the student, saying why it does
// not hold yet, in the current language, and the result line.

#include <algorithm>

#include "core/Catalogue.h"
#include "core/ExerciseKinds.h"
#include "core/Listings.h"

namespace bitwell {

namespace {

bool Matches(std::string_view word, std::string_view pattern) {
    if (word.size() != 4 || pattern.size() != 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (pattern[i] != '?' && pattern[i] != word[i]) return false;
    return true;
}

// " at address 4", " at addresses 0 to 8", or "" without `at`.
std::string Where(bool at, int first, int last) {
    if (!at) return {};
    return first == last ? Arg(Tr("exercise", " at address %1"), {Digit(first)})
                         : Arg(Tr("exercise", " at addresses %1 to %2"), {Digit(first), Digit(last)});
}

std::string BytesClause(Bytes bytes) {
    switch (bytes) {
        case Bytes::Both: return Tr("exercise", ", both bytes");
        case Bytes::Upper: return Tr("exercise", ", upper byte only");
        case Bytes::Lower: return Tr("exercise", ", lower byte only");
        case Bytes::None: break;
    }
    return {};
}

// "a write at addresses 0 to 8", "a read", …
std::string ACycle(Cycle cycle, bool at, int first, int last) {
    return Arg(cycle == Cycle::Write ? Tr("exercise", "a write%1") : Tr("exercise", "a read%1"),
               {Where(at, first, last)});
}

std::string ConditionText(const Condition& c) {
    switch (c.what) {
        case Condition::What::Level:
            return Arg(Tr("exercise", "%1 was %2"),
                       {kControlNames[static_cast<std::size_t>(c.control)], std::to_string(c.level)});
        case Condition::What::AddressChanges: return Tr("exercise", "the address changed");
        case Condition::What::DataChanges: return Tr("exercise", "the data input changed");
        case Condition::What::Cycle: return ACycle(c.cycle, c.at, c.first, c.last);
    }
    return {};
}

}  // namespace

std::string ExplainMemory(const SessionState& s, std::size_t i, bool holds) {
    const Goal& goal = s.exercise->goals[i];
    const WordStore& words = s.panel->device().memWords;
    const std::string first = Digit(goal.first), last = Digit(goal.last);
    int wrong = goal.first;
    while (wrong < goal.last && Matches(words[static_cast<std::size_t>(wrong)], goal.pattern)) ++wrong;
    const std::string& held = words[static_cast<std::size_t>(wrong)];
    if (goal.first == goal.last)
        return holds ? Arg(Tr("exercise", "Word %1 holds %2."), {first, goal.pattern})
                     : Arg(Tr("exercise", "Word %1 should hold %2; it holds %3."), {first, goal.pattern, held});
    return holds ? Arg(Tr("exercise", "Words %1 to %2 hold %3."), {first, last, goal.pattern})
                 : Arg(Tr("exercise", "Words %1 to %2 should hold %3; word %4 holds %5."),
                       {first, last, goal.pattern, Digit(wrong), held});
}

std::string ExplainUnchanged(const SessionState& s, std::size_t i, bool holds) {
    const Goal& goal = s.exercise->goals[i];
    const WordStore& words = s.panel->device().memWords;
    const std::string first = Digit(goal.first), last = Digit(goal.last);
    int wrong = goal.first;
    while (wrong < goal.last && words[static_cast<std::size_t>(wrong)] == s.startWords[static_cast<std::size_t>(wrong)])
        ++wrong;
    const auto w = static_cast<std::size_t>(wrong);
    if (goal.first == goal.last)
        return holds ? Arg(Tr("exercise", "Word %1 keeps %2."), {first, s.startWords[w]})
                     : Arg(Tr("exercise", "Word %1 should keep %2; it holds %3."), {first, s.startWords[w], words[w]});
    return holds ? Arg(Tr("exercise", "Words %1 to %2 keep what they held."), {first, last})
                 : Arg(Tr("exercise", "Words %1 to %2 should keep what they held; word %3 "
                                      "holds %4 instead of %5."),
                       {first, last, Digit(wrong), words[w], s.startWords[w]});
}

std::string ExplainRead(const SessionState& s, std::size_t i, bool holds) {
    const std::string& pattern = s.exercise->goals[i].pattern;
    return holds ? Arg(Tr("exercise", "The read word is %1."), {pattern})
                 : Arg(Tr("exercise", "The read word should be %1; it is %2."), {pattern, s.panel->readText()});
}

std::string ExplainData(const SessionState& s, std::size_t i, bool holds) {
    const std::string& pattern = s.exercise->goals[i].pattern;
    return holds ? Arg(Tr("exercise", "The data input is %1."), {pattern})
                 : Arg(Tr("exercise", "The data input should be %1; it is %2."), {pattern, s.panel->dataText()});
}

std::string ExplainAddress(const SessionState& s, std::size_t i, bool holds) {
    const std::string first = Digit(s.exercise->goals[i].first);
    return holds ? Arg(Tr("exercise", "The address is %1."), {first})
                 : Arg(Tr("exercise", "The address should be %1; it is %2."), {first, s.panel->addressText()});
}

std::string ExplainOrder(const SessionState& s, std::size_t i, bool holds) {
    const bool big = s.exercise->goals[i].bigEndian;
    if (holds)
        return big ? Tr("exercise", "The word order is Big Endian.") : Tr("exercise", "The word order is Little Endian.");
    return big ? Tr("exercise", "The word order should be Big Endian; it is Little Endian.")
               : Tr("exercise", "The word order should be Little Endian; it is Big Endian.");
}

std::string ExplainLevel(const SessionState& s, std::size_t i, bool holds) {
    const Goal& goal = s.exercise->goals[i];
    const std::string name(kControlNames[static_cast<std::size_t>(goal.control)]);
    return holds ? Arg(Tr("exercise", "%1 is %2."), {name, std::to_string(goal.level)})
                 : Arg(Tr("exercise", "%1 should be %2; it is %3."),
                       {name, std::to_string(goal.level), std::to_string(s.panel->level(goal.control))});
}

std::string ExplainTypes(const SessionState& s, std::size_t i, bool holds) {
    const Goal& goal = s.exercise->goals[i];
    // The label as the listing shows it in the chosen language.
    const int line = TypeLine(goal.label);
    const std::string label = TypesLabel(line);
    if (goal.at) {
        const std::string at = Digit(goal.first);
        return holds ? Arg(Tr("exercise", "%1 at address %2 shows %3."), {label, at, goal.value})
                     : Arg(Tr("exercise", "%1 at address %2 should show %3; it shows %4."),
                           {label, at, goal.value, TypesAtValue(s, goal)});
    }
    return holds ? Arg(Tr("exercise", "%1 shows %2."), {label, goal.value})
                 : Arg(Tr("exercise", "%1 should show %2; it shows %3."),
                       {label, goal.value, TypesValue(s.panel->typesText(), line)});
}

std::string ExplainCount(const SessionState& s, std::size_t i, bool) {
    const Goal& goal = s.exercise->goals[i];
    const std::string where = Where(goal.at, goal.first, goal.last) + BytesClause(goal.bytes);
    const unsigned long n = goal.n;
    const bool write = goal.cycle == Cycle::Write;
    std::string form;
    switch (goal.op) {
        case Comparison::Equal:
            form = write ? TrN("exercise", "Exactly %1 write cycle%2; so far %3.", "Exactly %1 write cycles%2; so far %3.", n)
                         : TrN("exercise", "Exactly %1 read cycle%2; so far %3.", "Exactly %1 read cycles%2; so far %3.", n);
            break;
        case Comparison::AtMost:
            form = write ? TrN("exercise", "At most %1 write cycle%2; so far %3.", "At most %1 write cycles%2; so far %3.", n)
                         : TrN("exercise", "At most %1 read cycle%2; so far %3.", "At most %1 read cycles%2; so far %3.", n);
            break;
        case Comparison::AtLeast:
            form = write
                       ? TrN("exercise", "At least %1 write cycle%2; so far %3.", "At least %1 write cycles%2; so far %3.", n)
                       : TrN("exercise", "At least %1 read cycle%2; so far %3.", "At least %1 read cycles%2; so far %3.", n);
            break;
    }
    // None at all has its own sentence: some languages put a count of 0 in the singular.
    if (n == 0 && goal.op != Comparison::AtLeast)
        form = write ? Tr("exercise", "No write cycle%2; so far %3.") : Tr("exercise", "No read cycle%2; so far %3.");
    const unsigned long sofar =
        CountCycles(s, goal.cycle, goal.at ? goal.first : 0, goal.at ? goal.last : 15, goal.bytes);
    return Arg(form, {std::to_string(n), where, std::to_string(sofar)});
}

std::string ExplainActions(const SessionState& s, std::size_t i, bool) {
    const Goal& goal = s.exercise->goals[i];
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
    return Arg(form, {std::to_string(n), std::to_string(s.actions)});
}

std::string ExplainNever(const SessionState& s, std::size_t i, bool holds) {
    const Goal& goal = s.exercise->goals[i];
    // "C1 while C2 and C3", in file order.
    std::string rest;
    for (std::size_t k = 1; k < goal.conditions.size(); ++k)
        rest = k == 1 ? ConditionText(goal.conditions[k])
                      : Arg(Tr("exercise", "%1 and %2"), {rest, ConditionText(goal.conditions[k])});
    std::string all = ConditionText(goal.conditions.front());
    if (!rest.empty()) all = Arg(Tr("exercise", "%1 while %2"), {all, rest});
    return holds ? Arg(Tr("exercise", "Never: %1."), {all})
                 : Arg(Tr("exercise", "Broken at step %1: %2."), {std::to_string(s.step[i]), all});
}

std::string ExplainThen(const SessionState& s, std::size_t i, bool holds) {
    const Goal& goal = s.exercise->goals[i];
    std::string what = ACycle(goal.cycle, goal.at, goal.first, goal.last);
    if (!goal.pattern.empty())
        what = Arg(goal.cycle == Cycle::Write ? Tr("exercise", "%1 that stores %2") : Tr("exercise", "%1 that returns %2"),
                   {what, goal.pattern});
    what += BytesClause(goal.bytes);
    const auto k = static_cast<std::size_t>(std::find(s.thens.begin(), s.thens.end(), i) - s.thens.begin());
    const std::string place = std::to_string(k + 1), of = std::to_string(s.thens.size());
    if (holds) return Arg(Tr("exercise", "Done in order (%1 of %2) at step %3: %4."), {place, of, std::to_string(s.step[i]), what});
    if (k == s.nextThen) return Arg(Tr("exercise", "Next in order (%1 of %2): %3."), {place, of, what});
    return Arg(Tr("exercise", "After %1 of %2: %3."), {std::to_string(k), of, what});
}

std::string SayGoal(const SessionState& s, std::size_t i) {
    const Goal& goal = s.exercise->goals[i];
    const bool holds = s.holds[i] != 0;
    if (!holds) {
        const std::string& language = CurrentLanguage();
        for (std::size_t l = 0; l < kExerciseLanguages.size(); ++l)
            if (kExerciseLanguages[l] == language && !goal.whyIn[l].empty()) return goal.whyIn[l];
        if (!goal.why.empty()) return goal.why;
    }
    return KindOf(goal.kind).explain(s, i, holds);
}

std::vector<ExerciseSession::GoalItem> ExerciseSession::Goals() const {
    std::vector<GoalItem> items;
    if (!m_open) return items;
    for (std::size_t i = 0; i < m_exercise.goals.size(); ++i) items.push_back({SayGoal(*m_state, i), holds(i), m_exercise.goals[i].line,
                         KindOf(m_exercise.goals[i].kind).explain(*m_state, i, true)});
    return items;
}

std::string ExerciseSession::DoneText() const {
    if (!m_done) return {};
    const std::string done = Arg(TrN("exercise", "Done in %1 action.", "Done in %1 actions.", m_doneActions),
                                 {std::to_string(m_doneActions)});
    for (std::size_t i = 0; i < m_exercise.goals.size() && !m_state->allHeld; ++i)
        if (!holds(i)) return Arg(Tr("exercise", "%1 Since then: %2"), {done, SayGoal(*m_state, i)});
    return done;
}

}  // namespace bitwell
