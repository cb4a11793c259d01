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

// Names a parameter row by its tag in test listings.
template <class T>
    requires requires(const T& row) { row.tag; }
void PrintTo(const T& row, std::ostream* os) { *os << row.tag; }

using test::DeviceRig;

TEST(StartUp, EndsInTheDocumentedState) {
    DeviceRig rig(false);
    rig.device.Form_Load();
    const PanelRecord& p = rig.panel;
    for (const Control c : {Control::CE, Control::OE, Control::WE, Control::LB, Control::UB})
        EXPECT_EQ(p.level(c), 1);
    EXPECT_EQ(p.read, "FFFF");
    for (const bool lit : p.lamps) EXPECT_TRUE(lit);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(rig.device.memWords[i], "FFFF");
    for (int i = 16; i < 32; ++i) EXPECT_TRUE(rig.device.memWords[i].empty());
    EXPECT_EQ(rig.device.updateContentsRuns(), 2);
    EXPECT_EQ(rig.device.updateTypesRuns(), 5);
    EXPECT_EQ(rig.device.updateMemoryRuns(), 5);
    EXPECT_EQ(p.types.substr(0, 39), "Starting Address: 0x0\r\nData: 0xFFFFFFFF");
}

TEST(StartUp, WithoutNotificationsTheLampsStayDark) {
    // The read at WE's change is what lights the lamps again.
    DeviceRig rig(false);
    rig.panel.onLevelChange = nullptr;
    rig.device.Form_Load();
    EXPECT_EQ(rig.panel.read, "0000");
    for (const bool lit : rig.panel.lamps) EXPECT_FALSE(lit);
}

// One row of the decision table, with word 3 = 12AB, read FFFF, data 5566.
struct Row {
    const char* tag;
    int ce, we, oe, ub, lb;
    const char* word3;
    const char* read;
};

class DecisionTable : public ::testing::TestWithParam<Row> {};

TEST_P(DecisionTable, PerformsTheRowsCycle) {
    const Row& r = GetParam();
    DeviceRig rig;
    rig.device.memWords[3] = "12AB";
    rig.panel.read = "FFFF";
    rig.panel.data = "5566";
    rig.panel.address = "3";
    const std::string contents = rig.panel.contents;
    const long contentsRuns = rig.device.updateContentsRuns();
    const long typesRuns = rig.device.updateTypesRuns();

    rig.evaluate(r.ce, r.oe, r.we, r.lb, r.ub);

    EXPECT_EQ(rig.device.memWords[3], r.word3);
    EXPECT_EQ(rig.panel.read, r.read);
    const bool cycle = std::string(r.word3) != "12AB" || std::string(r.read) != "FFFF";
    EXPECT_EQ(rig.device.updateContentsRuns() - contentsRuns, cycle ? 1 : 0);
    EXPECT_EQ(rig.device.updateTypesRuns() - typesRuns, 1);
    if (!cycle) {
        EXPECT_EQ(rig.panel.contents, contents);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecisionTable,
    ::testing::Values(Row{"idleCE", 1, 0, 0, 0, 0, "12AB", "FFFF"},
                      Row{"noOutputNoWrite", 0, 1, 1, 0, 0, "12AB", "FFFF"},
                      Row{"noBytesRead", 0, 1, 0, 1, 1, "12AB", "FFFF"},
                      Row{"noBytesWrite", 0, 0, 0, 1, 1, "12AB", "FFFF"},
                      Row{"readBoth", 0, 1, 0, 0, 0, "12AB", "12AB"},
                      Row{"readHigh", 0, 1, 0, 0, 1, "12AB", "12FF"},
                      Row{"readLow", 0, 1, 0, 1, 0, "12AB", "FFAB"},
                      Row{"writeBothOELow", 0, 0, 0, 0, 0, "5566", "FFFF"},
                      Row{"writeBothOEHigh", 0, 0, 1, 0, 0, "5566", "FFFF"},
                      Row{"writeHigh", 0, 0, 1, 0, 1, "55AB", "FFFF"},
                      Row{"writeLow", 0, 0, 1, 1, 0, "1266", "FFFF"}),
    [](const auto& info) { return info.param.tag; });

TEST(ByteEnables, ReadKeepsTheOtherByteFromAnEarlierAddress) {
    DeviceRig rig;
    rig.device.memWords[1] = "AB00";
    rig.device.memWords[2] = "00CD";
    rig.panel.address = "1";
    rig.evaluate(0, 0, 1, 0, 0);
    EXPECT_EQ(rig.panel.read, "AB00");
    rig.panel.address = "2";
    rig.evaluate(0, 0, 1, 0, 1);  // lower byte only
    EXPECT_EQ(rig.panel.read, "ABCD");
    EXPECT_FALSE(rig.panel.lamps[1]);  // CD = 1100 1101
    EXPECT_TRUE(rig.panel.lamps[15]);
}

TEST(ByteEnables, MovingALevelThatCompletesACycleRunsItAtOnce) {
    DeviceRig rig;
    rig.panel.data = "5566";
    rig.panel.levels = {0, 1, 1, 1, 0};  // CE, OE, WE, LB, UB
    rig.panel.setLevel(Control::WE, 0);
    EXPECT_EQ(rig.device.memWords[0], "55FF");

    rig.panel.levels = {0, 1, 1, 0, 1};
    rig.device.memWords[0] = "1234";
    rig.panel.setLevel(Control::OE, 0);
    EXPECT_EQ(rig.panel.read, "FF34");
}

TEST(ByteEnables, ShortPanelTextsNeverThrow) {
    // Only a tool writing the captions directly can get here; the device
    // must still neither throw nor read past a text.
    DeviceRig rig;
    rig.panel.data = "";
    rig.evaluate(0, 1, 0, 1, 0);  // write the low byte of nothing
    EXPECT_EQ(rig.device.memWords[0], "FF");
    rig.panel.read = "1";
    rig.evaluate(0, 0, 1, 0, 1);  // read the low byte into a one-character register
    EXPECT_EQ(rig.panel.read, "1");
    EXPECT_NE(rig.panel.types.find("Starting Address: 0x0\r\n"), std::string::npos);
}

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


// ---- The shared panel and its trace ----

// Every trace step's cause and data text since (and excluding) step `after`.
std::string CausesSince(const Panel& panel, std::uint64_t after) {
    std::string out;
    for (std::size_t i = 0; i < panel.trace().size(); ++i) {
        const TraceStep& s = panel.trace()[i];
        if (s.step > after) out += std::string(CauseName(s.cause)) + "=" + s.data + " ";
    }
    return out;
}

TEST(Trace, PowerUpIsActionZeroOfFiveSteps) {
    Panel panel;
    panel.Form_Load();
    EXPECT_EQ(panel.trace().Csv(),
              "step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word\n"
              "1,0,WE,0,0,1,0,0,0,0000,FFFF,read,both,FFFF\n"
              "2,0,CE,1,0,1,0,0,0,0000,FFFF,none,,FFFF\n"
              "3,0,OE,1,1,1,0,0,0,0000,FFFF,none,,FFFF\n"
              "4,0,LB,1,1,1,1,0,0,0000,FFFF,none,,FFFF\n"
              "5,0,UB,1,1,1,1,1,0,0000,FFFF,none,,FFFF\n");
    EXPECT_EQ(panel.device().updateMemoryRuns(), 5);
    EXPECT_EQ(Trace::Describe(panel.trace()[0]),
              "Step 1, action 0: read FFFF from address 0, both bytes (WE changed to HIGH)");
}

// Holding a write cycle at address 5 and walking the address back to 0
// writes the data word into address 4 on the way.
TEST(Trace, WriteOnTheWayShowsEveryWordWritten) {
    Panel panel;
    panel.Form_Load();
    panel.MoveAddressBit(0, 1);
    panel.MoveAddressBit(2, 1);
    panel.SetDataText("12AB");
    for (const Control c : {Control::UB, Control::LB, Control::WE, Control::CE}) panel.MoveLevel(c, 0);
    EXPECT_EQ(panel.device().memWords[5], "12AB");
    const std::uint64_t before = panel.trace().back().step;

    panel.MoveAddressBit(0, 0);
    panel.MoveAddressBit(2, 0);
    EXPECT_EQ(panel.device().memWords[4], "12AB");
    EXPECT_EQ(panel.device().memWords[0], "12AB");
    ASSERT_EQ(panel.trace().back().step, before + 2);
    const TraceStep& onTheWay = panel.trace()[panel.trace().size() - 2];
    EXPECT_EQ(Trace::CsvLine(onTheWay), std::to_string(before + 1) + "," +
                                            std::to_string(onTheWay.action) +
                                            ",A0,0,1,0,0,0,4,12AB,FFFF,write,both,12AB\n");
    EXPECT_EQ(Trace::Describe(onTheWay),
              "Step " + std::to_string(before + 1) + ", action " + std::to_string(onTheWay.action) +
                  ": write 12AB to address 4, both bytes (A0 changed to 0)");
    EXPECT_EQ(panel.trace().back().action, onTheWay.action + 1);
}

struct TypedWordCase {
    const char* tag;
    const char* from;
    std::u16string typed;
    int steps;
    const char* causes;
};

class TypedWord : public ::testing::TestWithParam<TypedWordCase> {};

// A typed word is one action: the data switches move from bit 15 down, each
// running one evaluation with the word as it stands at that moment.
TEST_P(TypedWord, IsOneActionOfOneStepPerMovedBit) {
    const TypedWordCase& c = GetParam();
    Panel panel;
    panel.Form_Load();
    panel.SetDataText(c.from);
    for (const Control k : {Control::UB, Control::LB, Control::WE, Control::CE}) panel.MoveLevel(k, 0);
    const std::uint64_t before = panel.trace().back().step;
    const std::uint64_t action = panel.trace().back().action;
    const long runs = panel.device().updateMemoryRuns();

    std::vector<TypedCharacter> answer;
    for (const char16_t ch : c.typed) answer.push_back({std::u16string(1, ch), false});
    EXPECT_EQ(panel.EnterTypedWord(answer).kind, TypedEntry::Kind::Word);
    EXPECT_EQ(panel.device().updateMemoryRuns() - runs, c.steps);
    EXPECT_EQ(panel.trace().back().step, before + static_cast<std::uint64_t>(c.steps));
    EXPECT_EQ(CausesSince(panel, before), c.causes);
    for (std::size_t i = panel.trace().size() - static_cast<std::size_t>(c.steps); i < panel.trace().size(); ++i)
        EXPECT_EQ(panel.trace()[i].action, action + 1);
    EXPECT_EQ(panel.device().memWords[0], panel.dataText());
}

INSTANTIATE_TEST_SUITE_P(
    Panel, TypedWord,
    ::testing::Values(
        TypedWordCase{"allSixteen", "0000", u"FFFF", 16,
                      "D15=8000 D14=C000 D13=E000 D12=F000 D11=F800 D10=FC00 D9=FE00 D8=FF00 "
                      "D7=FF80 D6=FFC0 D5=FFE0 D4=FFF0 D3=FFF8 D2=FFFC D1=FFFE D0=FFFF "},
        TypedWordCase{"twoEnds", "0000", u"8001", 2, "D15=8000 D0=8001 "},
        TypedWordCase{"sameWord", "00AB", u"AB", 0, ""}),
    [](const auto& info) { return std::string(info.param.tag); });

TEST(Trace, KeepsTheLast4096StepsAndClearKeepsCounting) {
    Panel panel;
    panel.Form_Load();
    for (int i = 0; i < 5000; ++i) panel.ChooseOrder(i % 2 == 0);
    ASSERT_EQ(panel.trace().size(), Trace::kCapacity);
    EXPECT_EQ(panel.trace()[0].step, 5005u - 4095u);
    EXPECT_EQ(panel.trace().back().step, 5005u);
    EXPECT_EQ(panel.trace().back().action, 5000u);
    EXPECT_EQ(panel.trace().back().cause, Cause::Order);
    const std::string csv = panel.trace().Csv();
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4097);

    panel.ClearTrace();
    EXPECT_TRUE(panel.trace().empty());
    EXPECT_EQ(panel.trace().Csv(), "step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word\n");
    panel.MoveLevel(Control::CE, 0);
    ASSERT_EQ(panel.trace().size(), 1u);
    EXPECT_EQ(panel.trace()[0].step, 5006u);
    EXPECT_EQ(panel.trace()[0].action, 5001u);
    // A change that runs no evaluation takes no number.
    panel.SetAddressText("3");
    panel.MoveLevel(Control::CE, 0);
    panel.MoveLevel(Control::OE, 0);
    EXPECT_EQ(panel.trace().back().action, 5002u);
}

struct EntryCase {
    const char* tag;
    std::vector<TypedCharacter> answer;
    TypedEntry::Kind kind;
    std::u16string text;
};

class Entry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(Entry, KeepsFourCharactersAndQuotesThemInTheirPlace) {
    const TypedEntry entry = InterpretTypedEntry(GetParam().answer);
    EXPECT_EQ(entry.kind, GetParam().kind);
    EXPECT_TRUE(entry.text == GetParam().text);
}

std::vector<TypedCharacter> Plain(std::u16string text) {
    std::vector<TypedCharacter> out;
    for (const char16_t c : text) out.push_back({std::u16string(1, c), false});
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Panel, Entry,
    ::testing::Values(
        EntryCase{"digitsPadded", Plain(u"ABC"), TypedEntry::Kind::Word, u"0ABC"},
        EntryCase{"fifthDropped", Plain(u"1234Z"), TypedEntry::Kind::Word, u"1234"},
        EntryCase{"empty", {}, TypedEntry::Kind::Nothing, u""},
        EntryCase{"ordinary", Plain(u"XYZ12"), TypedEntry::Kind::Invalid,
                  u"Error: 'XYZ1' is not a valid hexadecimal value."},
        EntryCase{"markup", Plain(u"<B>1"), TypedEntry::Kind::Invalid,
                  u"Error: '<B>1' is not a valid hexadecimal value."},
        EntryCase{"lineBreak", Plain(u"1\n34"), TypedEntry::Kind::Invalid,
                  u"Error: '1\u240A34' is not a valid hexadecimal value."},
        EntryCase{"nulAndDelete", Plain(std::u16string(u"A\0\x7F", 3)), TypedEntry::Kind::Invalid,
                  u"Error: 'A\u2400\u2421' is not a valid hexadecimal value."},
        EntryCase{"rightToLeftOverride",
                  {{u"\u202E", true}, {u"A", false}, {u"B", false}, {u"C", false}, {u"D", false}},
                  TypedEntry::Kind::Invalid,
                  u"Error: '\u2068\u202EABC\u2069' is not a valid hexadecimal value."},
        EntryCase{"combiningKeptWhole",
                  {{u"A\u0301", false}, {u"B", false}, {u"C", false}, {u"D", false}, {u"E", false}},
                  TypedEntry::Kind::Invalid,
                  u"Error: 'A\u0301BCD' is not a valid hexadecimal value."}),
    [](const auto& info) { return std::string(info.param.tag); });

}  // namespace
}  // namespace bitwell
