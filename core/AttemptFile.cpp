// Reading an attempt file from disk: the desktop's alone, as the exercise
// files are (the page gets its bytes from the browser).

#include "core/Attempt.h"
#include "core/Exercise.h"

namespace bitwell {

bool ReadAttemptFile(const std::string& path, std::string& bytes, ExerciseError& error) {
    return ReadFileStart(path, kAttemptMaxBytes + 1, bytes, error);
}

}  // namespace bitwell
