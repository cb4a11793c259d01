// Feeds arbitrary bytes to the exercise file parser and the link decoder.
// Properties: nothing crashes or hangs; a refused file gives one error at
// line 0 to 501 with a message and leaves the exercise it was given alone;
// an accepted file has a title, a text and 1 to 50 goals, each at a line
// of its own, and starts and checks on a panel; a link decodes only to
// what re-encodes to it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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
    } else {
        Check(!ex.title.plain.empty() && !ex.text.plain.empty());
        Check(!ex.goals.empty() && ex.goals.size() <= kExerciseMaxGoals);
        int line = 0;
        for (const Goal& goal : ex.goals) {
            Check(goal.line > line && goal.first <= goal.last && goal.last <= 15);
            line = goal.line;
        }
        static Panel panel;
        static ExerciseSession session(panel);
        session.Start(ex);
        panel.MoveLevel(Control::CE, 0);
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
