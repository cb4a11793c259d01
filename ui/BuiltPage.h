#pragma once

// The built web page that exports for a course site start from (see
// core/CourseExport.h), for the command line and the window alike.

#include <string>

// The page's bytes: the one installed beside the program
// (PREFIX/share/bitwell/bitwell.html, as the package puts it), else, for
// the program run where its build put it, the build's own. False when there
// is none, or it cannot be read, or it is over 64 MiB.
bool ReadBuiltPage(std::string& bytes);
