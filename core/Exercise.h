#pragma once

// Exercises a teacher writes: the .bwx file (parsed here, every byte of it
// untrusted), its goals, and the session that starts one on a Panel and
// checks its goals against what the student does with the pins.
//
// A front end stays thin: it hands the file's bytes (or a link's text) to
// ExerciseSession::Open, forwards the student's actions to the Panel as
// always, and redraws title, text, goal items, hint and result from the
// session whenever its ExerciseSession::Listener hears of a change. Every
// rule — the start, when goals are checked, when the exercise is done, what
// each goal says — is the session's.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/MemoryDevice.h"
#include "core/Panel.h"

namespace bitwell {

// Where and why a file was refused: line 0 for what belongs to no line (a
// missing title, text or goal; a file over 64 KiB), 501 for a file of more
// than 500 lines, otherwise the 1-based line that holds the fault. The
// message is in the current language, English by default.
struct ExerciseError {
    int line = 0;
    std::string message;
    // "LINE: message"
    std::string Text() const;
    // "NAME:LINE: message", as a message box or a terminal shows it.
    std::string Text(std::string_view name) const;
};

// Every kind of goal; each one is an entry of the kind table in
// core/ExerciseKinds.cpp, in this order (checked when it compiles). Then
// stays last: a new kind goes before it.
enum class GoalKind { Memory, Unchanged, Read, Address, Order, Types, Count, Actions, Level, Data, Never, Then };
inline constexpr std::size_t kGoalKinds = static_cast<std::size_t>(GoalKind::Then) + 1;
enum class Comparison { Equal, AtMost, AtLeast };

// One condition of a `never` goal, met by a single evaluation.
struct Condition {
    enum class What { Level, AddressChanges, DataChanges, Cycle };
    What what = What::Level;
    Control control = Control::CE;  // Level
    int level = 0;                  // Level: 0 or 1
    Cycle cycle = Cycle::Read;      // Cycle: Read or Write
    bool at = false;                // Cycle: only within first-last
    int first = 0, last = 15;
};

// One goal, as the file states it. Only the fields of its kind are used.
struct Goal {
    GoalKind kind = GoalKind::Memory;
    int line = 0;                 // where the file states it
    int first = 0, last = 0;      // address or range: Memory, Unchanged, Address, Count, Then, Types (with at)
    std::string pattern;          // four upper-case hex digits or '?': Memory, Read, Data, Then ("" for none)
    bool bigEndian = true;        // Order
    std::string label, value;     // Types: the English listing's label, and the value as written
    Cycle cycle = Cycle::Read;    // Count, Then: Read or Write
    bool at = false;              // Count, Then, Types: only at first(-last)
    Bytes bytes = Bytes::None;    // Count, Then: None for every cycle, else exactly these bytes
    Comparison op = Comparison::Equal;  // Count, Actions
    unsigned long n = 0;          // Count, Actions: 0 to 999999
    Control control = Control::CE;  // Level
    int level = 0;                // Level: 0 or 1
    std::vector<Condition> conditions;  // Never: all of them in one evaluation, in file order
    // The teacher's own words while the goal does not hold: `why` and each
    // language's (indexed like kExerciseLanguages); "" where none.
    std::string why;
    std::array<std::string, 4> whyIn;
};

// One text key (title, text or hint): its plain lines and each language's.
struct ExerciseTexts {
    std::vector<std::string> plain;
    // Indexed like kExerciseLanguages; empty where the file has none.
    std::array<std::vector<std::string>, 4> languages;
    // The lines shown in `language` (a code of Languages()): that
    // language's lines when the file has any, else the plain ones.
    const std::vector<std::string>& In(std::string_view language) const;
};

// The languages a file may add, in the order of ExerciseTexts::languages.
inline constexpr std::array<std::string_view, 4> kExerciseLanguages{"de", "fr", "es", "pt_BR"};

struct Exercise {
    std::string name;  // as the caller named it (a file name); never shown as markup
    ExerciseTexts title, text, hints;
    // The start: -1 where the file gives nothing.
    std::array<int, 16> memory;  // words stored directly, 0 to 0xFFFF
    int order = -1;              // 1 big, 0 little
    int address = -1;            // 0 to 15
    int data = -1;               // 0 to 0xFFFF
    std::vector<std::pair<Control, int>> controls;  // in file order
    std::vector<Goal> goals;     // 1 to 50, in file order

    Exercise() { memory.fill(-1); }

    // In the current language (CurrentLanguage()): the title, the text
    // with its lines joined by "\n", and the hints in file order.
    std::string Title() const;
    std::string Text() const;
    std::vector<std::string> Hints() const;
};

// The file's limits.
inline constexpr std::size_t kExerciseMaxBytes = 64 * 1024;
inline constexpr int kExerciseMaxLines = 500;
inline constexpr std::size_t kExerciseMaxLineCharacters = 1000;
inline constexpr std::size_t kExerciseMaxGoals = 50;

// Parses a .bwx file's bytes. On success fills `out` (named `name`) and
// returns true; otherwise fills `error` with the first problem (line 0
// first, then in line order) and leaves `out` untouched. Any bytes at all
// may be given: nothing is assumed about them, and the work is linear in
// their length. The grammar alone: see CheckExercise for the rest.
bool ParseExercise(std::string_view bytes, std::string_view name, Exercise& out,
                   ExerciseError& error);

// The title of a file's bytes in the current language, read from its title
// lines alone: nothing else is read or checked, so this is for files
// known sound, such as the course's own (whose menu shows their titles at
// every start). Empty where the file has no title.
std::string ExerciseTitle(std::string_view bytes);

// The checker a teacher's file goes through before it opens: every problem
// of the grammar (at most one per line, line 0 first, then in line order,
// at most kExerciseMaxProblems; a file over 64 KiB, line 501 and a line
// that is not UTF-8 end the check there); on a file with none, goals that
// can never hold together; then a file whose goals all hold at the start.
// True with `out` filled when there is no problem; `problems` is empty then.
inline constexpr std::size_t kExerciseMaxProblems = 20;
bool CheckExercise(std::string_view bytes, std::string_view name, Exercise& out,
                   std::vector<ExerciseError>& problems);
// The problems one a line as a message box lists them: "LINE: message",
// and "message" alone for line 0 (and for every problem when `link`).
std::string ProblemsText(const std::vector<ExerciseError>& problems, bool link = false);

// The first `most` bytes of the file at `path` (all of it when shorter);
// false with "the file cannot be read" where it cannot be opened or read.
bool ReadFileStart(const std::string& path, std::size_t most, std::string& bytes, ExerciseError& error);

// Reads a file's bytes for ParseExercise: at most one byte past the limit,
// so that a huge file is refused without being read whole. False with an
// error at line 0 when the file cannot be read (a folder included). In the
// desktop's core only (core/ExerciseFile.cpp).
bool ReadExerciseFile(const std::string& path, std::string& bytes, ExerciseError& error);

// A teacher's link: the text after "#exercise=" (or a whole address that
// holds it) is the file's bytes in base64url, padded or not. True with the
// bytes; false with an error at line 0 for anything else, including a
// link that would decode to more than 64 KiB.
bool DecodeExerciseLink(std::string_view link, std::string& bytes, ExerciseError& error);
// The bytes in base64url without padding, for "#exercise=" + the result.
std::string EncodeExerciseLink(std::string_view bytes);

// The built-in course, in course order: each file's name (such as
// "01-read.bwx") and its bytes, compiled into the program.
struct BuiltinExercise {
    std::string_view name;
    std::string_view bytes;
};
const std::vector<BuiltinExercise>& BuiltinExercises();

// An exercise running on a panel. It registers itself as the panel's
// observer for its lifetime (the panel must outlive it, and no other
// observer may be set meanwhile). While an exercise is open, a front end
// restarts it with Restart rather than powering the panel up itself.
struct SessionState;

class ExerciseSession final : private Panel::Observer {
public:
    // Told after each change a front end redraws from; never call Open,
    // Restart or Close from inside.
    class Listener {
    public:
        virtual ~Listener() = default;
        // An exercise opened, restarted or closed: redraw everything.
        virtual void exerciseChanged() {}
        // The goals were checked again (at the start and after each action).
        virtual void goalsChecked() {}
        // The exercise has just become done; announce DoneText().
        virtual void exerciseDone() {}
        // A done exercise has just had a goal broken by an action; announce
        // DoneText() (which now says "Since then: …") after the action's own.
        virtual void exerciseUndone() {}
    };

    explicit ExerciseSession(Panel& panel, Listener* listener = nullptr);
    ~ExerciseSession() override;
    ExerciseSession(const ExerciseSession&) = delete;
    ExerciseSession& operator=(const ExerciseSession&) = delete;

    void setListener(Listener* listener) { m_listener = listener; }

    // Parses the bytes and starts the exercise. On a bad file returns false
    // with the error, and nothing changes: neither the exercise open before
    // nor the panel.
    bool Open(std::string_view bytes, std::string_view name, ExerciseError& error);
    // The same through CheckExercise, as a front end opens a file: false
    // with every problem it finds.
    bool Open(std::string_view bytes, std::string_view name, std::vector<ExerciseError>& problems);
    // Starts a parsed exercise: power-up afresh, the memory givens stored
    // directly, then order, address (bit 3 to 0), data (one typed word) and
    // the control givens as the student's changes, then the trace cleared.
    // Counts start at 0 and the goals are checked. Never asks anything.
    void Start(const Exercise& exercise);
    // Starts the open exercise afresh; nothing without one.
    void Restart();
    // Ends the exercise; the panel stays as it is.
    void Close();

    bool isOpen() const { return m_open; }
    // Whether the memory holds words the student changed, which opening an
    // exercise or File, Restart would lose: inside an exercise any word
    // other than its start, otherwise any word that is not power-on.
    bool MemoryChanged() const;
    // The open exercise; meaningless while !isOpen().
    const Exercise& exercise() const { return m_exercise; }

    struct GoalItem {
        std::string text;  // the goal in words, and why it does not hold yet
        bool holds = false;
        int line = 0;             // where the file states it
        std::string holdsText;    // the goal in words as said once it holds
    };
    // One per goal in file order, as last checked, in the current language.
    std::vector<GoalItem> Goals() const;
    // Goal `goal` (below exercise().goals.size(), never checked) as last checked.
    bool holds(std::size_t goal) const;
    // Done once all goals held together at a check; stays done until the
    // exercise restarts or another opens.
    bool done() const { return m_done; }
    // "Done in N actions." once done, else "". While a goal no longer holds
    // after that, "Done in N actions. Since then: WHY", with the first such
    // goal in file order explained as Goals() does.
    std::string DoneText() const;
    // Done, and every goal holds at the last check.
    bool holdsAll() const;

    // Hints, one at a time on request: NextHint shows one more while
    // HasMoreHints; ShownHints are those shown since the start, in the
    // current language (as many as that language has).
    bool HasMoreHints() const;
    void NextHint();
    std::vector<std::string> ShownHints() const;

    // Since the start: the student's actions (as the trace numbers them)
    // and the evaluations that were a cycle of each kind.
    unsigned long actions() const;
    unsigned long cycles(Cycle cycle, int first = 0, int last = 15,
                         Bytes bytes = Bytes::None) const;

private:
    // The resume snapshot reads and restores the counts and states (core/Snapshot.cpp).
    friend std::string WriteSnapshot(const ExerciseSession& session, std::string_view exerciseBytes);
    friend bool ResumeSnapshot(ExerciseSession& session, std::string_view exerciseBytes, std::string_view snapshot);

    // Checks the goals whose inputs changed, at the start and at the end of
    // each action; `never` and `then` goals move in evaluated().
    void Check();

    void evaluated(const TraceStep& step, const Evaluation& done) override;
    void actionEnded() override;

    Panel& m_panel;
    Listener* m_listener;
    Exercise m_exercise;
    bool m_open = false;
    bool m_starting = false;
    bool m_done = false;
    unsigned long m_doneActions = 0;
    std::size_t m_hintsShown = 0;
    // What the goals read and remember (core/ExerciseKinds.h).
    std::unique_ptr<SessionState> m_state;
};

}  // namespace bitwell
