# cmake -DOUT=file.cpp -DFILES="a.bwx|b.bwx" -P embed.cmake: writes the
# built-in course as a C++ source, each file's bytes as an escaped string
# with its name, in the order given. Bytes are copied exactly, so the
# program parses what a teacher's copy of the same file would give.
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
foreach(file IN LISTS FILES)
  get_filename_component(name ${file} NAME)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" n)
  math(EXPR bytes "${n} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  # Break the literal every 64 bytes: long lines are hard on compilers' diagnostics.
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){64})" "\\1\"\n     \"" escaped "${escaped}")
  string(APPEND body "    {\"${name}\", std::string_view(\"${escaped}\", ${bytes})},\n")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from exercises/*.bwx by exercises/embed.cmake; do not edit.
#include \"core/Exercise.h\"

namespace bitwell {

const std::vector<BuiltinExercise>& BuiltinExercises() {
    static const std::vector<BuiltinExercise> course{
${body}    };
    return course;
}

}  // namespace bitwell
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
