// The link: a teacher's exercise carried in an address, as base64url.

#include <cstdint>

#include "core/Catalogue.h"
#include "core/Exercise.h"

namespace bitwell {

namespace {

int Base64UrlValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '-') return 62;
    if (c == '_') return 63;
    return -1;
}

}  // namespace

bool DecodeExerciseLink(std::string_view link, std::string& bytes, ExerciseError& error) {
    static constexpr std::string_view kKey = "exercise=";
    if (const auto at = link.find("#exercise="); at != std::string_view::npos)
        link.remove_prefix(at + 1 + kKey.size());
    else if (link.substr(0, kKey.size()) == kKey)
        link.remove_prefix(kKey.size());
    std::size_t pad = 0;
    while (pad < 2 && pad < link.size() && link[link.size() - 1 - pad] == '=') ++pad;
    link.remove_suffix(pad);
    // Four characters carry three bytes.
    if (link.size() > (kExerciseMaxBytes + 2) / 3 * 4) {
        error = {0, Tr("exercise", "the file is larger than 64 KiB")};
        return false;
    }
    const bool badLength = link.size() % 4 == 1 || (pad > 0 && (link.size() + pad) % 4 != 0);
    std::string out;
    out.reserve(link.size() / 4 * 3 + 2);
    std::uint32_t acc = 0;
    int bits = 0;
    for (const char c : link) {
        const int v = Base64UrlValue(c);
        if (v < 0 || badLength) {
            error = {0, Tr("exercise", "the link does not hold an exercise in base64url")};
            return false;
        }
        acc = (acc << 6 | static_cast<std::uint32_t>(v)) & 0xFFFFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFF);
        }
    }
    if (badLength || link.empty()) {
        error = {0, Tr("exercise", "the link does not hold an exercise in base64url")};
        return false;
    }
    bytes = std::move(out);
    return true;
}

std::string EncodeExerciseLink(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::uint32_t acc = 0;
    int bits = 0;
    for (const char c : bytes) {
        acc = (acc << 8 | static_cast<unsigned char>(c)) & 0xFFFFFF;
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            out += kAlphabet[(acc >> bits) & 63];
        }
    }
    if (bits > 0) out += kAlphabet[(acc << (6 - bits)) & 63];
    return out;
}

}  // namespace bitwell
