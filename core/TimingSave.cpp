#include "core/TimingSave.h"

#include "core/Catalogue.h"

namespace bitwell {

std::string TimingSaveTitle(std::string_view suffix) {
    struct Entry {
        std::string_view suffix;
        std::string (*title)();
    };
    // Literal texts, for the catalogue's extraction.
    static const Entry kTitles[] = {
        {.suffix = "svg", .title = [] { return Tr("timing save", "Save Timing Diagram as SVG"); }},
        {.suffix = "png", .title = [] { return Tr("timing save", "Save Timing Diagram as PNG"); }},
        {.suffix = "json", .title = [] { return Tr("timing save", "Save Timing Diagram as WaveDrom"); }},
        {.suffix = "csv", .title = [] { return Tr("timing save", "Save Timing Diagram as CSV"); }},
    };
    for (const Entry& e : kTitles)
        if (e.suffix == suffix) return e.title();
    return {};
}

}  // namespace bitwell
