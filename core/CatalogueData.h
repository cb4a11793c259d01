#pragma once

// The compiled catalogues (msgfmt's .mo files) built into the program. The
// build generates their definition from po/*.po; Catalogue.cpp reads them.

#include <cstddef>

namespace bitwell::catalogue_data {

struct Compiled {
    const char* language;        // "de", "fr", "es", "pt_BR"
    const unsigned char* bytes;  // a GNU .mo file, as msgfmt wrote it
    std::size_t size;
};

extern const Compiled kCompiled[];
extern const std::size_t kCompiledCount;

}  // namespace bitwell::catalogue_data
