// Prints a seeded run of panel actions and, after each, what the reference
// model of the chip says the panel shows, one JSON object per line, for the
// browser test to replay in the page and compare.
//   web_reference SEED COUNT

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/ReferenceChip.h"

using bitwell::test::ReferenceChip;

namespace {

// Listings hold "\r\n"; the page shows "\n".
std::string Json(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') out += "\\n";
        else out += text[i];
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char* argv[]) {
    const unsigned seed = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 1;
    const int count = argc > 2 ? std::atoi(argv[2]) : 300;
    std::mt19937 rng(seed);
    ReferenceChip ref;
    ref.words.fill(0xFFFF);
    ref.read = 0xFFFF;
    ref.levels = 31;
    static const char* const kLevels[] = {"sigCE", "sigOE", "sigWE", "sigLB", "sigUB"};
    for (int n = 0; n < count; ++n) {
        const unsigned pick = rng() % 100;
        std::string control;
        if (pick < 40) {
            const unsigned c = rng() % 5;
            ref.levels ^= 1u << c;
            control = kLevels[c];
        } else if (pick < 55) {
            const unsigned bit = rng() % 4;
            ref.address ^= 1u << bit;
            control = "sigAddr(" + std::to_string(bit) + ")";
        } else if (pick < 92) {
            const unsigned bit = rng() % 16;
            ref.data = static_cast<std::uint16_t>(ref.data ^ (1u << bit));
            control = "sigData(" + std::to_string(bit) + ")";
        } else {
            ref.big = !ref.big;
            control = ref.big ? "optBig" : "optLittle";
        }
        ref.evaluate();
        std::printf("{\"click\": \"%s\", \"lblRead\": \"%s\", \"lblData\": \"%s\", \"lblAddr\": \"%s\", "
                    "\"lblContents\": %s, \"lblTypes\": %s}\n",
                    control.c_str(), ReferenceChip::hex(ref.read, 4).c_str(),
                    ReferenceChip::hex(ref.data, 4).c_str(), ReferenceChip::hex(ref.address, 1).c_str(),
                    Json(ref.contents()).c_str(), Json(ref.types()).c_str());
    }
    return 0;
}
