// Prints a seeded run of panel actions and, after each, what the reference
// model of the chip says the panel shows, one JSON object per line, for the
// browser test to replay in the page and compare.
//   web_reference SEED COUNT

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/ReferenceChip.h"

using namespace bitwell::test;

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
    ReferenceChip ref = ReferenceChip::PoweredUp();
    for (int n = 0; n < count; ++n) {
        const Move m = PickMove(rng, 40, 15, 37);
        Make(ref, m);
        const std::string control = ControlName(m);
        ref.evaluate();
        std::printf("{\"click\": \"%s\", \"lblRead\": \"%s\", \"lblData\": \"%s\", \"lblAddr\": \"%s\", "
                    "\"lblContents\": %s, \"lblTypes\": %s}\n",
                    control.c_str(), ReferenceChip::hex(ref.read, 4).c_str(),
                    ReferenceChip::hex(ref.data, 4).c_str(), ReferenceChip::hex(ref.address, 1).c_str(),
                    Json(ref.contents()).c_str(), Json(ref.types()).c_str());
    }
    return 0;
}
