#include "core/Catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "core/CatalogueData.h"

namespace bitwell {

namespace {

// One language's texts: "context\x04msgid" to its translation. A plural
// entry holds its forms one after another, each ending in '\0'.
using Texts = std::unordered_map<std::string, std::string>;

struct Language {
    std::string code = "en";
    const Texts* texts = nullptr;  // null for English
};

Language g_language;

std::uint32_t Word(const unsigned char* data, std::size_t at, bool swapped) {
    std::uint32_t w;
    std::memcpy(&w, data + at, 4);
    if (swapped)
        w = (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24);
    return w;
}

// Reads a GNU .mo file. The files are our own, built by msgfmt with the
// program, but a bad one still yields no texts rather than a bad read.
Texts ReadCompiled(const unsigned char* data, std::size_t size) {
    Texts texts;
    if (size < 28) return texts;
    const std::uint32_t magic = Word(data, 0, false);
    const bool swapped = magic == 0xde120495u;
    if (!swapped && magic != 0x950412deu) return texts;
    const std::uint32_t count = Word(data, 8, swapped);
    const std::uint32_t originals = Word(data, 12, swapped);
    const std::uint32_t translations = Word(data, 16, swapped);
    const auto piece = [&](std::uint32_t table, std::uint32_t i, std::string_view& out) {
        const std::size_t at = std::size_t{table} + std::size_t{i} * 8;
        if (at + 8 > size) return false;
        const std::uint32_t length = Word(data, at, swapped);
        const std::uint32_t offset = Word(data, at + 4, swapped);
        if (std::size_t{offset} + length > size) return false;
        out = std::string_view(reinterpret_cast<const char*>(data) + offset, length);
        return true;
    };
    texts.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string_view original, translation;
        if (!piece(originals, i, original) || !piece(translations, i, translation)) break;
        if (original.empty() || translation.empty()) continue;  // the header
        // A plural entry's key is its singular: what comes before the plural.
        original = original.substr(0, original.find('\0'));
        std::string forms(translation);
        if (forms.find('\0') != std::string::npos) forms += '\0';
        texts.emplace(std::string(original), std::move(forms));
    }
    return texts;
}

const Texts* TextsOf(std::string_view code) {
    static std::unordered_map<std::string, Texts> loaded;
    if (const auto it = loaded.find(std::string(code)); it != loaded.end()) return &it->second;
    for (std::size_t i = 0; i < catalogue_data::kCompiledCount; ++i) {
        const catalogue_data::Compiled& c = catalogue_data::kCompiled[i];
        if (code == c.language)
            return &loaded.emplace(std::string(code), ReadCompiled(c.bytes, c.size)).first->second;
    }
    return nullptr;
}

std::string Key(std::string_view context, std::string_view msgid) {
    std::string key;
    key.reserve(context.size() + 1 + msgid.size());
    key += context;
    key += '\x04';
    key += msgid;
    return key;
}

const std::string* Find(std::string_view context, std::string_view msgid) {
    if (!g_language.texts) return nullptr;
    const auto it = g_language.texts->find(Key(context, msgid));
    return it == g_language.texts->end() ? nullptr : &it->second;
}

// The plural rules of the catalogue's languages, as their PO headers give
// them: German and Spanish "n != 1", French and Brazilian Portuguese
// "n > 1" (so 0 takes the singular).
std::size_t PluralForm(std::string_view code, unsigned long n) {
    if (code == "fr" || code == "pt_BR") return n > 1 ? 1 : 0;
    return n != 1 ? 1 : 0;
}

std::string_view Form(const std::string& forms, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t end = forms.find('\0', start);
        if (end == std::string::npos || end + 1 >= forms.size()) break;
        start = end + 1;
    }
    return std::string_view(forms).substr(start, forms.find('\0', start) - start);
}

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
    g_language.code = std::string(code);
    g_language.texts = code == "en" ? nullptr : TextsOf(code);
    return true;
}

const std::string& CurrentLanguage() { return g_language.code; }

std::string Lookup(std::string_view context, std::string_view msgid) {
    const std::string* found = Find(context, msgid);
    return found ? std::string(Form(*found, 0)) : std::string();
}

std::string Tr(const char* context, const char* msgid) {
    const std::string* found = Find(context, msgid);
    return found ? std::string(Form(*found, 0)) : std::string(msgid);
}

std::string TrN(const char* context, const char* singular, const char* plural, unsigned long n) {
    if (const std::string* found = Find(context, singular)) {
        const std::string_view form = Form(*found, PluralForm(g_language.code, n));
        if (!form.empty()) return std::string(form);
    }
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
