# cmake -P: writes a C++ file that holds the compiled catalogues as bytes,
# so that the desktop and the web page carry the same ones inside them.
#   -DOUT=file.cpp -DMO_DIR=dir -DLANGUAGES="de;fr;…"
set(body "")
set(table "")
foreach(lang ${LANGUAGES})
  file(READ ${MO_DIR}/${lang}.mo hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" hex "${hex}")
  string(APPEND body "const unsigned char k_${lang}[] = {\n${hex}\n};\n")
  string(APPEND table "    {\"${lang}\", k_${lang}, sizeof k_${lang}},\n")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from po/*.po by po/embed.cmake; do not edit.
#include \"core/CatalogueData.h\"

namespace bitwell::catalogue_data {
namespace {
${body}}  // namespace

const Compiled kCompiled[] = {
${table}};
const std::size_t kCompiledCount = sizeof kCompiled / sizeof kCompiled[0];

}  // namespace bitwell::catalogue_data
")
# Unchanged catalogues leave the file alone, so nothing rebuilds for them.
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
