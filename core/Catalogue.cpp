#include "core/Catalogue.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace bitwell {

namespace {

std::string g_language = "en";

}  // namespace

const std::vector<std::string>& Languages() {
    static const std::vector<std::string> kCodes{"en", "de", "fr", "es", "pt_BR"};
    return kCodes;
}

std::string_view LanguageName(std::string_view code) {
    if (code == "de") return "&Deutsch";
    if (code == "fr") return "&Fran\xC3\xA7" "ais";
    if (code == "es") return "E&spa\xC3\xB1ol";
    if (code == "pt_BR") return "&Portugu\xC3\xAAs (Brasil)";
    return "&English";
}

std::string PickLanguage(const std::vector<std::string>& preferred) {
    for (const std::string& tag : preferred) {
        std::string primary;
        for (const char c : tag) {
            if (c == '-' || c == '_' || c == '.' || c == '@') break;
            primary += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (const std::string& code : Languages())
            if (code.substr(0, code.find('_')) == primary) return code;
    }
    return "en";
}

bool SetLanguage(std::string_view code) {
    const auto& codes = Languages();
    if (std::find(codes.begin(), codes.end(), code) == codes.end()) return false;
    g_language = std::string(code);
    return true;
}

const std::string& CurrentLanguage() { return g_language; }

std::string Lookup(std::string_view, std::string_view) { return {}; }

std::string Tr(const char* context, const char* msgid) {
    std::string found = Lookup(context, msgid);
    return found.empty() ? std::string(msgid) : found;
}

std::string TrN(const char*, const char* singular, const char* plural, unsigned long n) {
    return n == 1 ? singular : plural;
}

std::string Arg(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(text[i + 1] - '1');
            if (k < args.size()) {
                out += *(args.begin() + k);
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace bitwell
