// The two listings the device writes: the memory contents and the 32 bits
// at the selected address read as bytes, shorts, integers and a float.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Conversions.h"
#include "core/Panel.h"
#include "tests/DeviceRig.h"

namespace bitwell {
namespace {

using test::DeviceRig;

TEST(Contents, PowerOnAndAfterWrites) {
    DeviceRig rig;
    std::string powerOn;
    for (const char* head : {"00", "02", "04", "06", "08", "0A", "0C", "0E"})
        powerOn += std::string(head) + ": FFFF FFFF\r\n";
    EXPECT_EQ(rig.panel.contents, powerOn);
    EXPECT_EQ(rig.panel.contents.size(), 120u);

    rig.panel.data = "1234";
    rig.panel.address = "5";
    rig.evaluate(0, 1, 0, 0, 0);
    EXPECT_EQ(rig.panel.contents.substr(30, 15), "04: FFFF 1234\r\n");
    rig.panel.address = "A";
    rig.panel.data = "0A0A";
    rig.device.UpdateMemory();
    rig.panel.address = "B";
    rig.panel.data = "0B0B";
    rig.device.UpdateMemory();
    EXPECT_EQ(rig.panel.contents.substr(75, 15), "0A: 0A0A 0B0B\r\n");
}

struct TypesCase {
    const char* tag;
    const char* addr;
    const char* wordA;  // at the starting address
    const char* wordB;  // at the next address (ignored at F)
    bool big;
    const char* expected;
};

class TypesListingTest : public ::testing::TestWithParam<TypesCase> {};

TEST_P(TypesListingTest, ReadsTheThirtyTwoBits) {
    const TypesCase& c = GetParam();
    DeviceRig rig;
    const int a = HexToInt(c.addr);
    rig.device.memWords[a] = c.wordA;
    if (a < 15) rig.device.memWords[a + 1] = c.wordB;
    rig.panel.address = c.addr;
    rig.panel.big = c.big;
    rig.device.UpdateMemory();
    EXPECT_EQ(rig.panel.types, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypesListingTest,
    ::testing::Values(
        TypesCase{"powerOn", "0", "FFFF", "FFFF", true,
                  "Starting Address: 0x0\r\nData: 0xFFFFFFFF\r\n\r\nByte (unsigned): 255\r\n"
                  "Byte (signed): -1\r\nShort (unsigned): 65535\r\nShort (signed): -1\r\n"
                  "Integer (unsigned): 4294967295\r\nInteger (signed): -1\r\nFloat: -NaN\r\n"},
        TypesCase{"piBig", "4", "4049", "0FDB", true,
                  "Starting Address: 0x4\r\nData: 0x40490FDB\r\n\r\nByte (unsigned): 219\r\n"
                  "Byte (signed): -37\r\nShort (unsigned): 4059\r\nShort (signed): 4059\r\n"
                  "Integer (unsigned): 1078530011\r\nInteger (signed): 1078530011\r\n"
                  "Float: 3.141593\r\n"},
        TypesCase{"piLittle", "4", "4049", "0FDB", false,
                  "Starting Address: 0x4\r\nData: 0x0FDB4049\r\n\r\nByte (unsigned): 73\r\n"
                  "Byte (signed): 73\r\nShort (unsigned): 16457\r\nShort (signed): 16457\r\n"
                  "Integer (unsigned): 266027081\r\nInteger (signed): 266027081\r\n"
                  "Float: 2.161983E-29\r\n"},
        TypesCase{"lowWordGivesByteAndShort", "0", "1234", "ABCD", true,
                  "Starting Address: 0x0\r\nData: 0x1234ABCD\r\n\r\nByte (unsigned): 205\r\n"
                  "Byte (signed): -51\r\nShort (unsigned): 43981\r\nShort (signed): -21555\r\n"
                  "Integer (unsigned): 305441741\r\nInteger (signed): 305441741\r\n"
                  "Float: 5.700975E-28\r\n"},
        TypesCase{"minusTwo", "2", "C000", "0000", true,
                  "Starting Address: 0x2\r\nData: 0xC0000000\r\n\r\nByte (unsigned): 0\r\n"
                  "Byte (signed): 0\r\nShort (unsigned): 0\r\nShort (signed): 0\r\n"
                  "Integer (unsigned): 3221225472\r\nInteger (signed): -1073741824\r\n"
                  "Float: -2\r\n"},
        TypesCase{"lastAddressBig", "F", "FFFF", "", true,
                  "Starting Address: 0xF\r\nData: 0xFFFF\r\n\r\nByte (unsigned): 255\r\n"
                  "Byte (signed): -1\r\nShort (unsigned): 65535\r\nShort (signed): -1\r\n"
                  "Integer (unsigned): N/A\r\nInteger (signed): N/A\r\nFloat: N/A\r\n"},
        TypesCase{"lastAddressLittle", "F", "FFFF", "", false,
                  "Starting Address: 0xF\r\nData: 0xFFFF\r\n\r\nByte (unsigned): 255\r\n"
                  "Byte (signed): -1\r\nShort (unsigned): 65535\r\nShort (signed): -1\r\n"
                  "Integer (unsigned): N/A\r\nInteger (signed): N/A\r\nFloat: N/A\r\n"},
        TypesCase{"lastWithFloatE", "E", "8000", "0000", true,
                  "Starting Address: 0xE\r\nData: 0x80000000\r\n\r\nByte (unsigned): 0\r\n"
                  "Byte (signed): 0\r\nShort (unsigned): 0\r\nShort (signed): 0\r\n"
                  "Integer (unsigned): 2147483648\r\nInteger (signed): -2147483648\r\n"
                  "Float: -0\r\n"}),
    [](const auto& info) { return info.param.tag; });

struct FloatCase {
    const char* tag;
    std::uint32_t bits;
    const char* text;
};

class FloatText : public ::testing::TestWithParam<FloatCase> {};

// The general form the listing keeps: at most 7 significant digits, exponent
// written E, a sign and at least two digits, once the decimal exponent is
// below -4 or reaches 7. Special values keep their sign bit.
TEST_P(FloatText, KeepsTheChosenForm) {
    EXPECT_EQ(FormatFloat(std::bit_cast<float>(GetParam().bits)), GetParam().text);
    // The path the WebAssembly build takes prints the same.
    EXPECT_EQ(FormatFloatPortable(std::bit_cast<float>(GetParam().bits)), GetParam().text);
}

// Both float paths agree on a wide spread of encodings, every exponent.
TEST(FloatText, PortablePathAgreesEverywhere) {
    std::uint32_t bits = 0x12345678;
    for (int i = 0; i < 200000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        const float value = std::bit_cast<float>(bits);
        ASSERT_EQ(FormatFloatPortable(value), FormatFloat(value)) << std::hex << bits;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, FloatText,
    ::testing::Values(FloatCase{"one", 0x3F800000u, "1"}, FloatCase{"zero", 0x00000000u, "0"},
                      FloatCase{"negativeZero", 0x80000000u, "-0"},
                      FloatCase{"positiveInfinity", 0x7F800000u, "Infinity"},
                      FloatCase{"negativeInfinity", 0xFF800000u, "-Infinity"},
                      FloatCase{"quietNaN", 0x7FC00000u, "NaN"},
                      FloatCase{"signalingNaN", 0x7F800001u, "NaN"},
                      FloatCase{"negativeNaN", 0xFFFFFFFFu, "-NaN"},
                      FloatCase{"tenth", 0x3DCCCCCDu, "0.1"},
                      FloatCase{"smallFixed", 0x38D1B717u, "0.0001"},
                      FloatCase{"firstExponentBelow", 0x3727C5ACu, "1E-05"},
                      FloatCase{"largestFixed", 0x4B189680u, "1E+07"},
                      FloatCase{"belowTenMillion", 0x4B18967Fu, "9999999"},
                      FloatCase{"maxFloat", 0x7F7FFFFFu, "3.402823E+38"},
                      FloatCase{"smallestDenormal", 0x00000001u, "1.401298E-45"},
                      FloatCase{"negativeHalf", 0xBF000000u, "-0.5"}),
    [](const auto& info) { return info.param.tag; });

}  // namespace
}  // namespace bitwell
