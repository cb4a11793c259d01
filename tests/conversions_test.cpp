#include <gtest/gtest.h>

#include <string>

#include "core/Conversions.h"
#include "tests/DeviceRig.h"

namespace bitwell {
namespace {

struct BinCase {
    const char* tag;
    std::string in;
    std::string hex;
    std::string paddedArg;
};

class BinToHexTest : public ::testing::TestWithParam<BinCase> {};

TEST_P(BinToHexTest, ConvertsAndPadsItsArgument) {
    std::string arg = GetParam().in;
    EXPECT_EQ(BinToHex(arg), GetParam().hex);
    EXPECT_EQ(arg, GetParam().paddedArg);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, BinToHexTest,
    ::testing::Values(BinCase{"empty", "", "", ""}, BinCase{"zero", "0000", "0", "0000"},
                      BinCase{"one16", "0000000000000001", "0001", "0000000000000001"},
                      BinCase{"f0f0", "1111000011110000", "F0F0", "1111000011110000"},
                      BinCase{"pad3", "101", "5", "0101"},
                      BinCase{"pad5", "11111", "1F", "00011111"},
                      BinCase{"foreignGroup", "0012", "0012", "0012"},
                      BinCase{"foreignPadded", "x1", "00x1", "00x1"},
                      BinCase{"all16", "1111111111111111", "FFFF", "1111111111111111"}),
    [](const auto& info) { return info.param.tag; });

struct TextCase {
    const char* tag;
    std::string in;
    std::string out;
};

class HexToBinTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(HexToBinTest, ExpandsEachDigit) { EXPECT_EQ(HexToBin(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Digits, HexToBinTest,
    ::testing::Values(TextCase{"empty", "", ""}, TextCase{"F", "F", "1111"},
                      TextCase{"zeroA", "0A", "00001010"},
                      TextCase{"FFFF", "FFFF", std::string(16, '1')},
                      TextCase{"eight", "FFFF0000", std::string(16, '1') + std::string(16, '0')},
                      TextCase{"lowerPassesThrough", "a", "a"},
                      TextCase{"foreignKept", "1G", "0001G"}),
    [](const auto& info) { return info.param.tag; });

TEST(HexToBin, RoundTripsThroughBinToHexForEveryWord) {
    static const char* kDigits = "0123456789ABCDEF";
    for (int v = 0; v < 0x10000; ++v) {
        std::string word;
        for (int shift = 12; shift >= 0; shift -= 4) word += kDigits[(v >> shift) & 0xF];
        std::string bin = HexToBin(word);
        ASSERT_EQ(BinToHex(bin), word);
    }
}

struct IntCase {
    const char* tag;
    std::string in;
    int out;
};

class HexToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(HexToIntTest, ReadsInSixteenBits) { EXPECT_EQ(HexToInt(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Values, HexToIntTest,
                         ::testing::Values(IntCase{"empty", "", 0}, IntCase{"zero", "0", 0},
                                           IntCase{"F", "F", 15}, IntCase{"ten", "10", 16},
                                           IntCase{"max", "7FFF", 32767},
                                           IntCase{"wrapsPastMax", "8000", -32768},
                                           IntCase{"fiveDigitsWrap", "10001", 1},
                                           IntCase{"longTextWraps", "123456789ABCDEF0", -8464},
                                           IntCase{"foreignCountsZero", "1G", 16}),
                         [](const auto& info) { return info.param.tag; });

struct ValidCase {
    const char* tag;
    std::string in;
    bool valid;
};

class IsValidHexTest : public ::testing::TestWithParam<ValidCase> {};

TEST_P(IsValidHexTest, AcceptsOnlyUpperCaseDigits) {
    EXPECT_EQ(IsValidHex(GetParam().in), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IsValidHexTest,
    ::testing::Values(ValidCase{"empty", "", false}, ValidCase{"lower", "ff", false},
                      ValidCase{"G1", "G1", false}, ValidCase{"minus", "-1", false},
                      ValidCase{"blank", "1 2", false}, ValidCase{"colonAfter9", "9:", false},
                      ValidCase{"atBeforeA", "@", false}, ValidCase{"GAfterF", "G", false},
                      ValidCase{"nul", std::string("1\0", 2), false},
                      ValidCase{"utf8", "\xC3\x84", false}, ValidCase{"zero", "0", true},
                      ValidCase{"mixed", "09AF", true}, ValidCase{"FFFF", "FFFF", true}),
    [](const auto& info) { return info.param.tag; });

TEST(Ceil, RoundsUpAndStaysInRange) {
    EXPECT_EQ(CeilToInt32(4.0), 4);
    EXPECT_EQ(CeilToInt32(4.25), 5);
    EXPECT_EQ(CeilToInt32(0.0), 0);
    EXPECT_EQ(CeilToInt32(-1.5), -1);
    EXPECT_EQ(CeilToInt32(0.25), 1);
    EXPECT_EQ(CeilToInt32(1e300), 2147483647);
    EXPECT_EQ(CeilToInt32(-1e300), -2147483647 - 1);
    EXPECT_EQ(CeilToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Pow, ExactForHexWeightsAndWrapsBeyond) {
    EXPECT_EQ(PowToInt16(16, 0), 1);
    EXPECT_EQ(PowToInt16(16, 1), 16);
    EXPECT_EQ(PowToInt16(16, 2), 256);
    EXPECT_EQ(PowToInt16(16, 3), 4096);
    EXPECT_EQ(PowToInt16(16, 4), 0);
    EXPECT_EQ(PowToInt16(2, 15), -32768);
    EXPECT_EQ(PowToInt16(3, -1), 0);
    EXPECT_EQ(PowToInt16(16, 32767), 0);
}

}  // namespace
}  // namespace bitwell
