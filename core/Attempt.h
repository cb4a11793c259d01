#pragma once

// Attempt files (.bwa): what a student did in an exercise, for a teacher
// with no course site, and their grading by replay. UTF-8 text (a byte
// order mark allowed), one item a line ("\n" or "\r\n"; empty lines
// skipped):
//
//   bitwell-attempt 1
//   learner: NAME
//   exercise: BASE64URL         the exercise file's bytes, as in a link
//   CE 0                        a control (CE, OE, WE, LB, UB) moved to 0 or 1
//   A3 1                        an address bit (A0 to A3)
//   D15 0                       a data bit (D0 to D15)
//   data 12AB                   the data word a typed entry or Ctrl+R set
//   order big                   a click on a word order (big or little)
//   restart                     the exercise started afresh
//
// one action a line, from the exercise's start, in the order done. Nothing
// else is in the file: no result, no count, no time. A grade is what the
// actions do when they are played again, so a file edited by hand is
// graded by its actions and nothing it claims.

#include <string>
#include <string_view>
#include <vector>

#include "core/Exercise.h"
#include "core/Trace.h"

namespace bitwell {

struct AttemptAction {
    enum class Kind { Level, AddressBit, DataBit, Data, Order, Restart };
    Kind kind = Kind::Level;
    Control control = Control::CE;  // Level
    int bit = 0;                    // AddressBit 0-3, DataBit 0-15
    int value = 0;                  // Level and the bits: 0 or 1; Data: 0 to 0xFFFF
    bool bigEndian = true;          // Order
};

struct Attempt {
    std::string learner;   // one line of UTF-8 text
    std::string exercise;  // the exercise file's bytes
    std::vector<AttemptAction> actions;
};

// The file's largest size: a long attempt of some hundred thousand actions.
inline constexpr std::size_t kAttemptMaxBytes = 4 * 1024 * 1024;

// The file's bytes. A learner's line break or control character becomes a
// space; the fields of each action are written as given (never checked).
std::string WriteAttempt(const Attempt& attempt);

// Reads a file's bytes: true with `out` filled, or false with the first
// fault in file order (its 1-based line, or 0 for one of the whole file)
// and `out` untouched. The exercise is decoded but not parsed: grading
// parses it. Any bytes at all may be given.
bool ReadAttempt(std::string_view bytes, Attempt& out, ExerciseError& error);
// A file from disk for ReadAttempt, at most one byte past the limit.
// In the desktop's core only (core/AttemptFile.cpp).
bool ReadAttemptFile(const std::string& path, std::string& bytes, ExerciseError& error);

// What the actions did, played again on a fresh panel from the exercise's
// start. `done`, `actions` and the goals count from the last restart;
// the goals are as after the last action.
struct AttemptGrade {
    std::string title;   // the exercise's plain title
    bool done = false;
    unsigned long actions = 0;
    std::size_t goalsHeld = 0, goals = 0;
    int firstUnmet = 0;  // the file line of the first goal that does not hold; 0 for none
};
// False, with the exercise's error at line 3 of the attempt, when the
// exercise does not open.
bool GradeAttempt(const Attempt& attempt, AttemptGrade& grade, ExerciseError& error);

// The grade table as CSV (RFC 4180: CRLF line ends, a field quoted when it
// holds a comma, a quote or a line break).
inline constexpr std::string_view kGradeHeader =
    "file,learner,exercise,done,actions,goals_held,goals,first_unmet";
std::string GradeCsvRow(std::string_view file, std::string_view learner, const AttemptGrade& grade);

// Records the actions of an open exercise for an attempt file from what the
// panel's view hears: Step for every step recorded, ActionEnded at the end
// of each action. An action of one evaluation is the switch that moved (a
// typed word that moved one switch replays the same as that switch), one of
// several is the data word it left. A session's Open and Restart run the
// exercise's givens as actions, so a front end brackets them:
//   record.Starting(); session.Open(…) or session.Restart();
//   then record.Open(bytes) or record.Restarted().
class AttemptRecord {
public:
    // Nothing is recorded until Open or Restarted.
    void Starting() { m_recording = false; }
    // A new exercise (its file's bytes): the record starts afresh.
    void Open(std::string exercise);
    // The open exercise started afresh: a "restart" line.
    void Restarted();
    void Step(const TraceStep& step);
    void ActionEnded(const Panel& panel);
    // An action as it stands, for a front end that knows it already.
    void Add(const AttemptAction& action) { m_attempt.actions.push_back(action); }

    // The file for `learner`.
    std::string Write(std::string_view learner);
    const std::vector<AttemptAction>& actions() const { return m_attempt.actions; }

private:
    Attempt m_attempt;
    bool m_recording = false;
    std::size_t m_steps = 0;  // in the action under way
    Cause m_cause = Cause::CE;
};

}  // namespace bitwell
