// Feeds arbitrary bytes to the exercise file parser, the checker and the
// link decoder. Properties: nothing crashes or hangs; a refused file gives
// one error at line 0 to 501 with a message and leaves the exercise it was
// given alone; the checker gives at most 20 problems, one a line, line 0
// first and then in line order, the grammar's first among them; an
// accepted file has a title, a text and 1 to 50 goals, each at a line of
// its own (a never goal with its conditions), and starts and checks on a
// panel through a write and a read; a link decodes only to what re-encodes
// to it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>
#include <string>
#include <string_view>

#include "core/Exercise.h"
#include "core/Panel.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bitwell;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    Exercise ex;
    ex.name = "kept";
    ExerciseError error;
    if (!ParseExercise(bytes, "fuzz.bwx", ex, error)) {
        Check(error.line >= 0 && error.line <= kExerciseMaxLines + 1);
        Check(!error.message.empty());
        Check(ex.name == "kept" && ex.goals.empty());
    }
    Exercise checked;
    std::vector<ExerciseError> problems;
    const bool ok = CheckExercise(bytes, "fuzz.bwx", checked, problems);
    Check(ok == problems.empty() && problems.size() <= kExerciseMaxProblems);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        Check(!problems[i].message.empty());
        Check(i == 0 || problems[i].line > problems[i - 1].line);
    }
    if (ex.goals.empty()) Check(!ok && problems.front().Text() == error.Text());
    if (!ex.goals.empty()) {
        Check(!ex.title.plain.empty() && !ex.text.plain.empty());
        Check(!ex.goals.empty() && ex.goals.size() <= kExerciseMaxGoals);
        int line = 0;
        for (const Goal& goal : ex.goals) {
            Check(goal.line > line && goal.first <= goal.last && goal.last <= 15);
            Check((goal.kind == GoalKind::Never) == !goal.conditions.empty());
            line = goal.line;
        }
        static Panel panel;
        static ExerciseSession session(panel);
        session.Start(ex);
        for (const Control c : {Control::CE, Control::LB, Control::WE, Control::WE, Control::OE})
            panel.MoveLevel(c, panel.level(c) ? 0 : 1);
        panel.MoveAddressBit(2, 1);
        const auto goals = session.Goals();
        Check(goals.size() == ex.goals.size());
        for (const auto& goal : goals) Check(!goal.text.empty());
        Check(session.done() == (session.done() && !session.DoneText().empty()));
    }

    std::string decoded;
    if (DecodeExerciseLink(bytes, decoded, error)) {
        Check(!decoded.empty() && decoded.size() <= kExerciseMaxBytes);
        std::string again;
        Check(DecodeExerciseLink(EncodeExerciseLink(decoded), again, error) && again == decoded);
    } else {
        Check(error.line == 0 && !error.message.empty());
    }
    return 0;
}
