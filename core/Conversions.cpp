#include "core/Conversions.h"

#include <array>
#include <cmath>
#include <limits>
#include <string_view>

namespace bitwell {
namespace {

struct Digit {
    char digit;
    std::string_view pattern;
};

// The one table every conversion works from.
constexpr std::array<Digit, 16> kDigits{{
    {'0', "0000"}, {'1', "0001"}, {'2', "0010"}, {'3', "0011"},
    {'4', "0100"}, {'5', "0101"}, {'6', "0110"}, {'7', "0111"},
    {'8', "1000"}, {'9', "1001"}, {'A', "1010"}, {'B', "1011"},
    {'C', "1100"}, {'D', "1101"}, {'E', "1110"}, {'F', "1111"},
}};

// The table's values by character code, -1 for every other character.
constexpr std::array<signed char, 256> kValues = [] {
    std::array<signed char, 256> values{};
    values.fill(-1);
    for (std::size_t v = 0; v < kDigits.size(); ++v)
        values[static_cast<unsigned char>(kDigits[v].digit)] = static_cast<signed char>(v);
    return values;
}();

// 16 to the powers 0 to 3, as PowToInt16 gives them.
constexpr std::int16_t kWeights[] = {1, 16, 256, 4096};

// Wraps any integer into signed 16 bits, as 16-bit hardware arithmetic does.
std::int16_t Wrap16(long long v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned long long>(v)));
}

}  // namespace

int DigitValue(char c) { return kValues[static_cast<unsigned char>(c)]; }

std::string BinToHex(std::string& bin) {
    // The group count is taken before padding; it equals padded length / 4.
    const auto n = static_cast<std::size_t>(CeilToInt32(static_cast<double>(bin.size()) / 4.0));
    if (const auto rest = bin.size() % 4; rest != 0) bin.insert(0, 4 - rest, '0');

    std::string result;
    result.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view group = std::string_view(bin).substr(4 * i, 4);
        bool found = false;
        for (const Digit& d : kDigits) {
            if (d.pattern == group) {
                result += d.digit;
                found = true;
                break;
            }
        }
        if (!found) result += group;
    }
    return result;
}

std::string HexToBin(const std::string& hex) {
    std::string result;
    result.reserve(hex.size() * 4);
    for (const char c : hex) {
        const int v = DigitValue(c);
        if (v >= 0)
            result += kDigits[static_cast<std::size_t>(v)].pattern;
        else
            result += c;
    }
    return result;
}

std::int16_t HexToInt(const std::string& hex) {
    const std::size_t m = hex.size();
    std::int16_t sum = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const int d = DigitValue(hex[i]);
        const std::size_t e = m - i - 1;
        // 16^4 and above are 0 modulo 2^16. The weights below are
        // PowToInt16's own results, taken from a table: this runs on every
        // evaluation.
        const std::int16_t w = e < 4 ? kWeights[e] : 0;
        sum = Wrap16(static_cast<long long>(sum) + static_cast<long long>(d < 0 ? 0 : d) * w);
    }
    return sum;
}

bool IsValidHex(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

std::int32_t CeilToInt32(double x) {
    if (std::isnan(x)) return 0;
    const double r = -std::floor(-x);
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

std::int16_t PowToInt16(std::int16_t b, std::int16_t e) {
    const double r = std::nearbyint(std::pow(static_cast<double>(b), static_cast<double>(e)));
    if (!std::isfinite(r) || std::fabs(r) >= 9.0e18) return 0;
    return Wrap16(static_cast<long long>(r));
}

}  // namespace bitwell
