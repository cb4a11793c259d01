#include "core/CourseExport.h"

#include <cstdio>

#include "core/Xml.h"
#include "core/Zip.h"

namespace bitwell {

namespace {

constexpr std::string_view kBlockEnd = "</script>";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The first `n` characters of UTF-8 text (a title's limit in SCORM 1.2).
std::string_view FirstCharacters(std::string_view text, std::size_t n) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
        if (count++ == n) break;
    }
    return text.substr(0, at);
}

}  // namespace

std::string_view ExportKindName(ExportKind kind) {
    switch (kind) {
    case ExportKind::WebPage: return "web page";
    case ExportKind::Scorm12: return "SCORM 1.2 package";
    case ExportKind::Scorm2004: return "SCORM 2004 package";
    }
    return {};
}

bool ExportKindFor(std::string_view out, const std::string_view* scorm, ExportKind& kind) {
    if (EndsWith(out, ".html") && !scorm) {
        kind = ExportKind::WebPage;
        return true;
    }
    if (!EndsWith(out, ".zip")) return false;
    if (!scorm || *scorm == "1.2") {
        kind = ExportKind::Scorm12;
        return true;
    }
    if (*scorm == "2004") {
        kind = ExportKind::Scorm2004;
        return true;
    }
    return false;
}

std::string PlainPage(std::string_view page) {
    std::string plain;
    plain.reserve(page.size());
    for (;;) {
        const std::size_t start = page.find(kExerciseBlockStart);
        const std::size_t end = start == std::string_view::npos ? start : page.find(kBlockEnd, start);
        if (end == std::string_view::npos) break;
        plain += page.substr(0, start);
        std::size_t after = end + kBlockEnd.size();
        if (after < page.size() && page[after] == '\n') ++after;
        page.remove_prefix(after);
    }
    plain += page;
    return plain;
}

std::string PageWithExercise(std::string_view page, std::string_view exercise, ExportKind kind) {
    const std::string plain = PlainPage(page);
    std::size_t at = plain.find("<script");
    if (at == std::string::npos) at = plain.find("</body>");
    if (at == std::string::npos) at = plain.size();
    std::string block(kExerciseBlockStart);
    if (kind == ExportKind::Scorm12) block += " data-scorm=\"1.2\"";
    if (kind == ExportKind::Scorm2004) block += " data-scorm=\"2004\"";
    block += '>';
    block += EncodeExerciseLink(exercise);
    block += kBlockEnd;
    block += '\n';
    std::string out;
    out.reserve(plain.size() + block.size());
    out.append(plain, 0, at);
    out += block;
    out.append(plain, at);
    return out;
}

std::string ScormManifest(const Exercise& exercise, std::string_view bytes, ExportKind kind) {
    char id[16];
    std::snprintf(id, sizeof id, "%08X", static_cast<unsigned>(Crc32(bytes)));
    std::string title;
    AppendXml(title, FirstCharacters(exercise.title.plain.empty() ? std::string_view() : exercise.title.plain.front(), 200));
    const bool v12 = kind == ExportKind::Scorm12;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<manifest identifier=\"bitwell-";
    out += id;
    if (v12) {
        out += "\" version=\"1.0\"\n"
               "  xmlns=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\"\n"
               "  xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\"\n"
               "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
               "  xsi:schemaLocation=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
               "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd\">\n"
               "  <metadata>\n    <schema>ADL SCORM</schema>\n    <schemaversion>1.2</schemaversion>\n"
               "  </metadata>\n";
    } else {
        out += "\" version=\"1.0\"\n"
               "  xmlns=\"http://www.imsglobal.org/xsd/imscp_v1p1\"\n"
               "  xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_v1p3\"\n"
               "  xmlns:adlseq=\"http://www.adlnet.org/xsd/adlseq_v1p3\"\n"
               "  xmlns:adlnav=\"http://www.adlnet.org/xsd/adlnav_v1p3\"\n"
               "  xmlns:imsss=\"http://www.imsglobal.org/xsd/imsss\"\n"
               "  xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
               "  xsi:schemaLocation=\"http://www.imsglobal.org/xsd/imscp_v1p1 imscp_v1p1.xsd "
               "http://www.adlnet.org/xsd/adlcp_v1p3 adlcp_v1p3.xsd "
               "http://www.adlnet.org/xsd/adlseq_v1p3 adlseq_v1p3.xsd "
               "http://www.adlnet.org/xsd/adlnav_v1p3 adlnav_v1p3.xsd "
               "http://www.imsglobal.org/xsd/imsss imsss_v1p0.xsd\">\n"
               "  <metadata>\n    <schema>ADL SCORM</schema>\n"
               "    <schemaversion>2004 4th Edition</schemaversion>\n  </metadata>\n";
    }
    out += "  <organizations default=\"exercise\">\n"
           "    <organization identifier=\"exercise\">\n"
           "      <title>";
    out += title;
    out += "</title>\n"
           "      <item identifier=\"item\" identifierref=\"page\">\n"
           "        <title>";
    out += title;
    out += "</title>\n      </item>\n    </organization>\n  </organizations>\n"
           "  <resources>\n    <resource identifier=\"page\" type=\"webcontent\" ";
    out += v12 ? "adlcp:scormtype" : "adlcp:scormType";
    out += "=\"sco\" href=\"";
    out += kPackagePage;
    out += "\">\n      <file href=\"";
    out += kPackagePage;
    out += "\"/>\n    </resource>\n  </resources>\n</manifest>\n";
    return out;
}

std::string ExportExercise(std::string_view page, std::string_view bytes, const Exercise& parsed,
                           ExportKind kind) {
    std::string withExercise = PageWithExercise(page, bytes, kind);
    if (kind == ExportKind::WebPage) return withExercise;
    const std::string manifest = ScormManifest(parsed, bytes, kind);
    return StoredZip({{.name = "imsmanifest.xml", .bytes = manifest},
                      {.name = kPackagePage, .bytes = withExercise}});
}

bool ExportExercise(std::string_view page, std::string_view exercise, std::string_view name,
                    ExportKind kind, std::string& out, ExerciseError& error) {
    Exercise parsed;
    if (!ParseExercise(exercise, name, parsed, error)) return false;
    out = ExportExercise(page, exercise, parsed, kind);
    return true;
}

const CourseCommandLineTexts& CourseCommandLine() {
    static const CourseCommandLineTexts kTexts{
        .exportFile = Msg("main",
                          "Writes this exercise file for a course site to the file named after it, "
                          "and exits: a SCORM package (.zip) or a web page (.html)."),
        .scorm = Msg("main", "The SCORM version of the package: 1.2 (the default) or 2004."),
        .grade = Msg("main",
                     "Checks attempt files (.bwa), given as the arguments, by replaying them, "
                     "writes the results as CSV, and exits."),
        .noPage = Msg("main", "no web page found"),
        .cannotWrite = Msg("main", "%1 cannot be written"),
    };
    return kTexts;
}

}  // namespace bitwell
