#pragma once

// The one JSON string escaping of the core, for the page's description and
// the WaveDrom export.

#include <string>
#include <string_view>

namespace bitwell {

// Appends `text` (UTF-8, never checked) escaped for the inside of a JSON
// string: quotes, backslashes and control characters; no quotes around it.
void AppendJsonEscaped(std::string& out, std::string_view text);

}  // namespace bitwell
