#pragma once

// An exercise made ready for a course site: the single web page opening at
// that exercise, or a SCORM package (1.2 or 2004 4th Edition) holding that
// page and its manifest. Made here alone, so that the command line, the
// desktop and the page give the same bytes for the same page, exercise
// file and kind.

#include <string>
#include <string_view>

#include "core/Exercise.h"
#include "core/WindowDescription.h"

namespace bitwell {

enum class ExportKind { WebPage, Scorm12, Scorm2004 };

// How the command line names a finished export: "web page", "SCORM 1.2
// package", "SCORM 2004 package". Never translated.
std::string_view ExportKindName(ExportKind kind);

// The kind the command line asks for: OUT ending ".zip" is a package of
// the `scorm` version ("1.2", the default when `scorm` is null, or
// "2004"), OUT ending ".html" is the web page and takes no version. False
// for any other name or version: the caller prints its usage.
bool ExportKindFor(std::string_view out, const std::string_view* scorm, ExportKind& kind);

// The exercise inside an exported page: one inert data block, placed just
// before the page's first <script (else before </body>, else at the end),
// so that it is in the document when the page's own script runs:
//
//   <script type="application/x-bitwell-exercise" id="bitwell-exercise"
//           data-scorm="1.2">BASE64URL</script>
//
// on one line and followed by "\n". BASE64URL is the exercise file's bytes
// as in a "#exercise=" link. data-scorm says which course-site interface
// the page looks for: "1.2" (API), "2004" (API_1484_11), or no attribute
// for a plain web page (none). A browser never runs a script of this type,
// so a site's script-hash policy is not touched by it.
inline constexpr std::string_view kExerciseBlockStart =
    "<script type=\"application/x-bitwell-exercise\" id=\"bitwell-exercise\"";

// The page with every exercise block above taken out: the plain page an
// export starts from, whether `page` was itself exported or not.
std::string PlainPage(std::string_view page);
// The plain page of `page` with `exercise` (a file's bytes, never checked)
// put in for `kind`.
std::string PageWithExercise(std::string_view page, std::string_view exercise, ExportKind kind);

// The package's launch file, beside imsmanifest.xml.
inline constexpr std::string_view kPackagePage = "bitwell.html";

// imsmanifest.xml for a package (kind Scorm12 or Scorm2004) of this parsed
// exercise: one organization with one item launching kPackagePage as a
// SCO, titled by the file's plain title (its first 200 characters), and
// no mastery score, completion threshold or passing score, so that the
// site takes the page's own status. The identifier is made from the
// file's bytes, so that two exercises never share one.
std::string ScormManifest(const Exercise& exercise, std::string_view bytes, ExportKind kind);

// The whole export of a file's bytes and the exercise parsed from them: the
// page, or the package (imsmanifest.xml, then the page, stored).
std::string ExportExercise(std::string_view page, std::string_view bytes, const Exercise& parsed,
                           ExportKind kind);
// The same from the bytes alone: parses them (named `name` in the errors)
// and on success fills `out`; false with the exercise's error otherwise.
bool ExportExercise(std::string_view page, std::string_view exercise, std::string_view name,
                    ExportKind kind, std::string& out, ExerciseError& error);

// The command line's texts for exporting and grading, beside the usage's
// other options.
struct CourseCommandLineTexts {
    Message exportFile;  // --export FILE: OUT is the next argument
    Message scorm;       // --scorm VERSION
    Message grade;       // --grade, the attempt files as the arguments
    Message noPage;      // no built page beside the program
    Message cannotWrite; // %1 the file
};
const CourseCommandLineTexts& CourseCommandLine();

}  // namespace bitwell
