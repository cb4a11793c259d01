#pragma once

// Text written into the XML the core makes (the timing diagram's SVG, a
// course site's manifest).

#include <string>
#include <string_view>

namespace bitwell {

// Appends `text` to `out` as XML character data or an attribute value:
// markup characters escaped, and the control characters XML 1.0 forbids as
// spaces (untrusted text, such as an exercise file's, may hold them). The
// bytes are otherwise copied as they are: UTF-8 is never checked.
inline void AppendXml(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
}

}  // namespace bitwell
