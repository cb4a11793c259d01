#pragma once

// Inside the exercises (not for a front end): the table of goal kinds and
// what its entries share. Each kind is one entry: its keywords, how its
// line is parsed (core/ExerciseGrammar.cpp), what it watches, whether it
// holds (core/ExerciseSession.cpp) and how it is said
// (core/ExerciseExplain.cpp). A new kind is a new enum value and a new
// entry; the table refuses to compile when the two disagree.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exercise.h"

namespace bitwell {

// ---- Shared by the grammar, the session and the explanations ----

int HexValue(char c);
std::string Digit(int a);  // "0" to "F"
// A piece of the file quoted in a message: at most 40 characters, kept to
// its own direction when it holds anything but ASCII.
std::string Quote(std::string_view s);
// The listing's English labels, line 0 (Byte (unsigned)) to 6 (Float).
inline constexpr std::array<std::string_view, 7> kTypeLabels{
    "Byte (unsigned)",    "Byte (signed)",    "Short (unsigned)", "Short (signed)",
    "Integer (unsigned)", "Integer (signed)", "Float"};
int TypeLine(std::string_view englishLabel);  // 0 to 6
inline constexpr std::array<std::string_view, 5> kControlNames{"CE", "OE", "WE", "LB", "UB"};
// Four upper-case hex digits as the panel holds them; 0 for anything else.
std::uint16_t Word16(std::string_view text);

// ---- What a goal watches ----

// The inputs an after-action goal reads: it is checked again at the end
// of an action only when one of them changed. Goals that watch every
// evaluation (Evaluations) and counts (Counted) move in evaluated().
enum Input : unsigned {
    kWords = 1, kRead = 2, kAddress = 4, kOrder = 8, kLevels = 16, kData = 32,
    kCounted = 64, kActions = 128, kEvaluations = 256,
};

// The goals as numbers, for checks fast enough to run after every action.
struct Compiled {
    std::uint16_t mask = 0, value = 0;  // a pattern
    std::size_t label = 0;              // Types: the listing's line
    std::uint8_t levelMask = 0, levelValue = 0;  // Never: bit i for control i
    bool addressChanges = false, dataChanges = false;
    Cycle cycle = Cycle::None;          // Never: a cycle it needs
    std::uint16_t cycleAt = 0xFFFF;     // Never: the addresses it counts, bit per address
    bool impossible = false;            // Never: conditions no evaluation meets together
};

// The panel as the session reads it, once per check.
struct Now {
    std::uint16_t read = 0, data = 0;
    int address = 0;
    bool big = true;
    std::uint8_t levels = 0;  // bit i: control i HIGH
    bool typesRead = false;   // the listing's values, read on first need
    std::array<std::string_view, 7> types;
};

// Everything the goals of an open exercise read and remember.
struct SessionState {
    const Panel* panel = nullptr;
    const Exercise* exercise = nullptr;
    std::vector<Compiled> compiled;
    std::array<std::vector<std::size_t>, kGoalKinds> byKind;
    std::vector<unsigned char> holds;
    std::size_t failing = 0;
    bool checked = false;  // a check has run since the start
    bool allHeld = false;  // at the last check
    unsigned inputsChanged = 0;
    unsigned long actions = 0;
    // Cycles by kind (0 read, 1 write), address and moved bytes (both, upper, lower).
    std::array<std::array<std::array<unsigned long, 3>, 16>, 2> cycles{};
    std::array<std::string, 16> startWords;
    std::array<std::uint16_t, 16> words{}, start{};
    std::vector<unsigned long> counts, countsAtCheck;
    std::vector<std::size_t> moved;  // goals whose state moved since the last check
    std::vector<unsigned char> listed;  // in `moved` already
    Now last;
    // Never: the step that broke it, 0 while it holds. Then: the step that met it, 0 before.
    std::vector<std::uint64_t> step;
    std::vector<std::size_t> thens;  // the `then` goals in file order
    std::size_t nextThen = 0;        // the first of them not met
    int lastAddress = 0;             // of the previous evaluation
    std::uint16_t lastData = 0;
};

// ---- The table ----

class GrammarLine;  // core/ExerciseGrammar.cpp: one goal line's tokens and faults

struct GoalKindEntry {
    GoalKind kind;
    // The goal's first word, or its words split by '|' ("" for Unchanged,
    // reached through memory); in any case when anyCase.
    std::string_view keyword;
    bool anyCase;
    // Parses the words after the keyword into `goal`; false at its first fault.
    bool (*parse)(GrammarLine& line, Goal& goal);
    unsigned watches;  // Input bits
    bool (*holds)(const SessionState& s, std::size_t goal, Now& now);
    // The goal in words, and why it does not hold yet (the `why` aside).
    std::string (*explain)(const SessionState& s, std::size_t goal, bool holds);
};

const GoalKindEntry& KindOf(GoalKind kind);
const std::array<GoalKindEntry, kGoalKinds>& GoalKindTable();

// The entries' functions, one of each per kind.
#define BITWELL_GOAL_KIND(Name)                                              \
    bool Parse##Name(GrammarLine& line, Goal& goal);                         \
    bool Holds##Name(const SessionState& s, std::size_t goal, Now& now);     \
    std::string Explain##Name(const SessionState& s, std::size_t goal, bool holds);
BITWELL_GOAL_KIND(Memory)
BITWELL_GOAL_KIND(Unchanged)
BITWELL_GOAL_KIND(Read)
BITWELL_GOAL_KIND(Address)
BITWELL_GOAL_KIND(Order)
BITWELL_GOAL_KIND(Types)
BITWELL_GOAL_KIND(Count)
BITWELL_GOAL_KIND(Actions)
BITWELL_GOAL_KIND(Level)
BITWELL_GOAL_KIND(Data)
BITWELL_GOAL_KIND(Never)
BITWELL_GOAL_KIND(Then)
#undef BITWELL_GOAL_KIND

// Every goal of a parsed exercise holds right after its start.
bool HoldsAtStart(const Exercise& ex);
// The cycles counted since the start, as ExerciseSession::cycles says.
unsigned long CountCycles(const SessionState& s, Cycle cycle, int first, int last, Bytes bytes);
// The value a `types at` goal reads: the listing built as if its address
// were selected, with the panel's word order.
std::string TypesAtValue(const SessionState& s, const Goal& goal);
// Each label's value in the panel's data type listing, by line.
void ReadTypes(std::string_view listing, std::array<std::string_view, 7>& values);
// The goal in words for the student, with the teacher's `why` while it does not hold.
std::string SayGoal(const SessionState& s, std::size_t goal);

}  // namespace bitwell
