// Feeds arbitrary bytes to the attempt file reader, and what it accepts to
// the writer and the grader. Properties: nothing crashes or hangs; a
// refused file gives one error at a line of its own with a message and
// leaves the attempt it was given alone; an accepted file writes back to
// bytes that read as the same attempt, and grades (when its exercise opens)
// to counts within the exercise's goals.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/Attempt.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bitwell;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Attempt attempt;
    attempt.learner = "kept";
    ExerciseError error;
    if (!ReadAttempt(bytes, attempt, error)) {
        Check(error.line >= 0 && static_cast<std::size_t>(error.line) <= size + 1 && !error.message.empty());
        Check(attempt.learner == "kept" && attempt.actions.empty());
        return 0;
    }
    Attempt again;
    Check(ReadAttempt(WriteAttempt(attempt), again, error));
    Check(again.exercise == attempt.exercise && again.actions.size() == attempt.actions.size());
    AttemptGrade grade;
    if (GradeAttempt(attempt, grade, error)) {
        Check(grade.goalsHeld <= grade.goals && grade.actions <= attempt.actions.size());
        Check((grade.firstUnmet == 0) == (grade.goalsHeld == grade.goals));
    } else {
        Check(error.line == 3);
    }
    return 0;
}
