// The shared panel every front end draws: its actions, the cascade of a
// typed word, the trace it records and the typed-entry interpreter.

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
    panel.EditDataText("12AB");
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
    panel.EditDataText(c.from);
    for (const Control k : {Control::UB, Control::LB, Control::WE, Control::CE}) panel.MoveLevel(k, 0);
    const std::uint64_t before = panel.trace().back().step;
    const std::uint64_t action = panel.trace().back().action;
    const long runs = panel.device().updateMemoryRuns();

    std::vector<TypedCharacter> answer;
    for (const char16_t ch : c.typed) answer.push_back({std::u16string(1, ch)});
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
    panel.EditAddressText("3");
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
    for (const char16_t c : text) out.push_back({std::u16string(1, c)});
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
                  {{u"\u202E"}, {u"A"}, {u"B"}, {u"C"}, {u"D"}},
                  TypedEntry::Kind::Invalid,
                  u"Error: '\u2068\u202EABC\u2069' is not a valid hexadecimal value."},
        EntryCase{"hebrewLetter", Plain(u"\u05D012"), TypedEntry::Kind::Invalid,
                  u"Error: '\u2068\u05D012\u2069' is not a valid hexadecimal value."},
        // Arabic-Indic digits are numbers, not letters: they steer nothing.
        EntryCase{"arabicDigit", Plain(u"\u0663A"), TypedEntry::Kind::Invalid,
                  u"Error: '\u0663A' is not a valid hexadecimal value."},
        EntryCase{"rightToLeftMark", Plain(u"1\u200F"), TypedEntry::Kind::Invalid,
                  u"Error: '\u20681\u200F\u2069' is not a valid hexadecimal value."},
        // An Adlam letter, beyond the first plane, as one surrogate pair.
        EntryCase{"astralRightToLeft", {{u"\U0001E900"}, {u"1"}}, TypedEntry::Kind::Invalid,
                  u"Error: '\u2068\U0001E9001\u2069' is not a valid hexadecimal value."},
        EntryCase{"loneSurrogate", {{std::u16string(1, char16_t{0xD83A})}, {u"1"}},
                  TypedEntry::Kind::Invalid,
                  u"Error: '" + std::u16string(1, char16_t{0xD83A}) +
                      u"1' is not a valid hexadecimal value."},
        EntryCase{"combiningKeptWhole",
                  {{u"A\u0301"}, {u"B"}, {u"C"}, {u"D"}, {u"E"}},
                  TypedEntry::Kind::Invalid,
                  u"Error: 'A\u0301BCD' is not a valid hexadecimal value."}),
    [](const auto& info) { return std::string(info.param.tag); });

}  // namespace
}  // namespace bitwell
