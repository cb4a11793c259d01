// Reading an exercise file from disk: the desktop's alone (the page gets
// its bytes from the browser), so that the page's core carries no file
// streams.

#include <cstdio>

#include "core/Catalogue.h"
#include "core/Exercise.h"

namespace bitwell {

bool ReadFileStart(const std::string& path, std::size_t most, std::string& bytes, ExerciseError& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string read(most, '\0');
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

bool ReadExerciseFile(const std::string& path, std::string& bytes, ExerciseError& error) {
    return ReadFileStart(path, kExerciseMaxBytes + 1, bytes, error);
}

}  // namespace bitwell
