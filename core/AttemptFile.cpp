// Reading an attempt file from disk: the desktop's alone, as the exercise
// files are (the page gets its bytes from the browser).

#include <cstdio>

#include "core/Attempt.h"
#include "core/Catalogue.h"

namespace bitwell {

bool ReadAttemptFile(const std::string& path, std::string& bytes, ExerciseError& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string read(kAttemptMaxBytes + 1, '\0');
    const std::size_t got = file ? std::fread(read.data(), 1, read.size(), file) : 0;
    const bool failed = !file || std::ferror(file);
    if (file) std::fclose(file);
    if (failed) {
        error = {0, Tr("exercise", "the file cannot be read")};
        return false;
    }
    read.resize(got);
    bytes = std::move(read);
    return true;
}

}  // namespace bitwell
