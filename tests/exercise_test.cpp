#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/Panel.h"
#include "tests/ReferenceChip.h"

namespace bitwell {
namespace {

using test::ReferenceChip;

const char* const kMinimal = "title: T\ntext: X\ngoal read = 1234\n";
const std::string kTT = "title: T\ntext: X\n";

// ---- The grammar and its errors ----

struct FileCase {
    const char* name;
    std::string bytes;
    int line;             // -1: accepted; else the line the row is about
    std::string message;  // every problem the checker finds, "LINE: message" one a line
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

std::string Lines(int n, const std::string& line) {
    std::string out;
    for (int i = 0; i < n; ++i) out += line + "\n";
    return out;
}

std::string Goals(int n) { return Lines(n, "goal read = ???0"); }

const std::vector<FileCase>& FileCases() {
    static const std::vector<FileCase> cases{
        {"Minimal", kMinimal, -1, ""},
        {"CrLfAndNoFinalEnd", "title: T\r\ntext: X\r\ngoal read = 1234", -1, ""},
        {"ByteOrderMark", "\xEF\xBB\xBFtitle: T\ntext: X\ngoal read = 1234\n", -1, ""},
        {"BlanksCommentsAndEmptyLines",
         "  # a comment\n\n\t title:\tT  \n\ntext: X\n   \t\n#goal nonsense\ngoal\tread=1234\t\n", -1, ""},
        {"OperatorsWithoutBlanks",
         std::string(kMinimal) + "goal count write at 3-7 bytes upper<=2\ngoal actions>=0\n"
                                 "goal memory 0-F=??af\ngoal types Byte (signed)=-1\n",
         -1, ""},
        {"EveryGivenAndLanguage",
         std::string(kMinimal) + "title.de: D\ntitle.fr: F\ntitle.es: E\ntitle.pt_BR: P\nhint: h\n"
                                 "hint.de: h\ngiven memory 3-5 = beef\ngiven order = little\n"
                                 "given CE = 0\ngiven UB=1\ngiven address = a\ngiven data = 00fF\n",
         -1, ""},
        {"LongestNumber", std::string(kMinimal) + "goal actions <= 999999\n", -1, ""},
        {"LeadingZerosInNumber", std::string(kMinimal) + "goal actions <= 0000999999\n", -1, ""},
        {"FiftyGoals", "title: T\ntext: X\n" + Goals(50), -1, ""},  // read ???0: FFFF at the start
        {"FiveHundredLines", "title: T\ntext: X\ngoal read = 1234\n" + Lines(497, "# c"), -1, ""},
        {"ThousandCharacters", "title: T\ntext: " + std::string(994, 'x') + "\ngoal read = 1234\n", -1, ""},
        {"ThousandWideCharacters",
         "title: T\ntext: " + [] { std::string s; for (int i = 0; i < 994; ++i) s += "\xC3\xA9"; return s; }() +
             "\ngoal read = 1234\n",
         -1, ""},
        {"MisspeltGoal", "title: T\ntext: X\n\n\n\n\ngoal memroy 5 = BEEF\n", 7, "7: unknown goal \"memroy\"; did you mean \"memory\"?"},
        {"NoTitle", "text: X\ngoal read = 1234\n", 0, "0: the file has no title"},
        {"OnlyALanguageTitle", "title.de: T\ntext: X\ngoal read = 1234\n", 0, "0: the file has no title"},
        {"NoText", "title: T\ngoal read = 1234\n", 0, "0: the file has no text"},
        {"NoGoal", "title: T\ntext: X\n", 0, "0: the file has no goal"},
        {"EmptyFile", "", 0, "0: the file has no title"},
        {"SecondTitle", "title: T\ntext: X\ntitle: U\ngoal read = 1234\n", 3, "3: a second title"},
        {"SecondLanguageTitle", "title: T\ntitle.fr: U\ntitle.fr: V\n", 3, "0: the file has no text\n3: a second title"},
        {"UnknownLanguage", "title: T\ntitle.it: U\n", 2, "0: the file has no text\n2: unknown language \"it\""},
        {"LanguageCaseMatters", "title: T\ntext.pt_br: U\n", 2, "0: the file has no text\n2: unknown language \"pt_br\""},
        {"EmptyText", "title: T\ntext:   \t\n", 2, "0: the file has no text\n2: the text after the colon is empty"},
        {"UpperCaseKeyword", "Title: T\n", 1, "0: the file has no title\n1: unknown keyword \"Title\"; did you mean \"title\"?"},
        {"UnknownKeyword", "title: T\nstart memory 5 = 0000\n", 2, "0: the file has no text\n2: unknown keyword \"start\""},
        {"UnknownGiven", "title: T\ngiven adress = 5\n", 2, "0: the file has no text\n2: unknown given \"adress\"; did you mean \"address\"?"},
        {"ControlNamesInAnyCase", "given ce = 0\ngoal Ub = 0\n", 0, "0: the file has no title"},
        {"SignalLevel", "given CE = 2\n", 1, "0: the file has no title\n1: expected 0 or 1 instead of \"2\""},
        {"RangeBackwards", "title: T\ntext: X\ngoal memory 7-3 = 0000\n", 3, "3: the range \"7-3\" runs backwards"},
        {"RangeInGivenBackwards", "given memory F-0 = 0000\n", 1, "0: the file has no title\n1: the range \"F-0\" runs backwards"},
        {"NoRangeForAddress", "given address = 1-2\n", 1, "0: the file has no title\n1: bad hex address \"1-2\": an address is one hex digit, 0 to F"},
        {"BadHexAddress", "goal address = G\n", 1, "0: the file has no title\n1: bad hex address \"G\": an address is one hex digit, 0 to F"},
        {"BadHexWord", "given data = 12G4\n", 1, "0: the file has no title\n1: bad hex word \"12G4\""},
        {"ShortWord", "given memory 1 = 123\n", 1, "0: the file has no title\n1: bad hex word \"123\""},
        {"QuestionMarkInGivenWord", "given memory 1 = 12?4\n", 1, "0: the file has no title\n1: bad hex word \"12?4\""},
        {"BadPattern", "goal read = 12345\n", 1, "0: the file has no title\n1: bad hex pattern \"12345\""},
        {"MissingEquals", "goal read 1234\n", 1, "0: the file has no title\n1: expected \"=\" instead of \"1234\""},
        {"MissingValue", "goal read =\n", 1, "0: the file has no title\n1: a pattern is missing at the end"},
        {"TrailingWord", "goal read = 1234 now\n", 1, "0: the file has no title\n1: unexpected \"now\""},
        {"BadOrder", "given order = middle\n", 1, "0: the file has no title\n1: expected big or little instead of \"middle\""},
        {"BadLabel", "goal types Byte = 1\n", 1, "0: the file has no title\n1: unknown listing label \"Byte\"; one of: Byte (unsigned), Byte (signed), Short (unsigned), Short (signed), Integer (unsigned), Integer (signed), Float"},
        {"LabelsInAnyCase", "goal types float = 1\n", 0, "0: the file has no title"},
        {"TypesWithoutValue", "goal types Float =\n", 1, "0: the file has no title\n1: a value is missing at the end"},
        {"TypesValueOfTwoWords", "goal types Float = 1 2\n", 1, "0: the file has no title\n1: unexpected \"2\""},
        {"BadCycle", "goal count fetch = 1\n", 1, "0: the file has no title\n1: expected read or write instead of \"fetch\""},
        {"BadBytes", "goal count read bytes middle = 1\n", 1,
         "0: the file has no title\n1: expected both, upper or lower instead of \"middle\""},
        {"BadOperator", "goal actions < 3\n", 1, "0: the file has no title\n1: expected =, <= or >= instead of \"<\""},
        {"NumberTooLarge", "goal actions = 1000000\n", 1, "0: the file has no title\n1: \"1000000\" is not a number from 0 to 999999"},
        {"NegativeNumber", "goal actions >= -1\n", 1, "0: the file has no title\n1: \"-1\" is not a number from 0 to 999999"},
        {"FiftyFirstGoal", "title: T\ntext: X\n" + Goals(51), 53, "53: more than 50 goals"},
        {"FiveHundredOneLines", Lines(501, "# c"), 501, "501: the file has more than 500 lines"},
        {"ErrorBeforeLine501", "goal x\n" + Lines(600, "# c"), 1, "1: unknown goal \"x\"\n501: the file has more than 500 lines"},
        {"LineTooLong", "title: T\ntext: " + std::string(995, 'x') + "\n", 2,
         "0: the file has no text\n2: the line is longer than 1,000 characters"},
        {"FileTooLarge", std::string(kMinimal) + Lines(400, "#" + std::string(170, 'c')), 0,
         "0: the file is larger than 64 KiB"},
        {"NotUtf8", "title: T\ntext: caf\xE9\n", 2, "2: the line is not UTF-8 text"},
        {"OverlongUtf8", "title: \xC0\xAF\n", 1, "1: the line is not UTF-8 text"},
        {"SurrogateInUtf8", "title: \xED\xA0\x80\n", 1, "1: the line is not UTF-8 text"},
        {"CutUtf8AtEnd", "title: \xE2\x82", 1, "1: the line is not UTF-8 text"},
        {"NotUtf8InAComment", "title: T\n# \xFF\n", 2, "2: the line is not UTF-8 text"},
        {"ControlCharacter", "title: T\x01\n", 1, "0: the file has no title\n1: the line holds a control character"},
        {"LoneCarriageReturn", "title: T\rU\n", 1, "0: the file has no text\n2: unknown keyword \"U\""},
        {"QuotedTextIsCutAndIsolated", "goal \xD7\xA9" + std::string(60, 'x') + "\n", 1,
         "0: the file has no title\n1: unknown goal \"\xE2\x81\xA8\xD7\xA9" + std::string(39, 'x') +
             "\xE2\x80\xA6\xE2\x81\xA9\""},
        // The format's additions, accepted.
        {"CommentsAndLoneCr", "title: T # title\rtext: X\rgoal read = 12?? # c\r\ngiven CE = 0\t# c\n", -1, ""},
        {"EveryNewForm",
         kTT + "goal count write bytes upper at 3-7 <= 2\ngoal types at F Integer (signed) = N/A\n"
               "goal types  octet  NON SIGN\xC3\x89 : = 7\ngoal types Short(mit Vorzeichen)= -1\ngoal types Int ohne Vorzeichen = 7\n"
               "goal types Float = -Infinity\n"
               "goal oe = 0\ngoal data = 12??\ngoal never address changes and WE = 0 and ce = 0\ngoal never write at 0-8\n"
               "goal then read at 4 = 12C4\ngoal then write bytes upper at 4 = 13C4\nwhy: w\n# c\n\nwhy.de: w\n",
         -1, ""},
        {"GoalsOfOneKindThatMeet", kTT + "goal memory 0-3 = 1???\ngoal memory 4 = 2???\ngoal memory 3 = ?2??\n", -1, ""},
        // The format's additions, refused with every problem.
        {"ValuesTheListingNeverShows",
         kTT + "goal types Float = 1.0\ngoal types Float = -2,5\ngoal types Float = nan\ngoal types Float = x\n"
               "goal types Byte (unsigned) = 300\ngoal types Byte (unsigned) = 007\ngoal types Integer (signed) = -0\n"
               "goal types Short (signed) = N/A\ngoal types float32 = 1\n",
         3,
         "3: \"1.0\" never shows: Float shows this value as \"1\"\n"
         "4: \"-2,5\" never shows: Float writes a point, as in \"-2.5\"\n"
         "5: \"nan\" never shows: Float shows this value as \"NaN\"\n"
         "6: \"x\" never shows: Float shows a number, as in \"-2.5\"\n"
         "7: \"300\" never shows: Byte (unsigned) shows 0 to 255\n"
         "8: \"007\" never shows: Byte (unsigned) shows this value as \"7\"\n"
         "9: \"-0\" never shows: Integer (signed) shows this value as \"0\"\n"
         "10: \"N/A\" never shows: Short (signed) shows -32768 to 32767\n"
         "11: unknown listing label \"float32\"; one of: Byte (unsigned), Byte (signed), Short (unsigned), "
         "Short (signed), Integer (unsigned), Integer (signed), Float"},
        {"NeverAndThenWords",
         kTT + "goal never\ngoal then erase\ngoal never address wobbles\ngoal never CE = 0 or WE = 0\n"
               "goal never frob\ngoal then write at 4 = 13C4 later\ngoal read == 1234\ngoal memory 10 = 1234\n",
         3,
         "3: a condition is missing at the end\n4: expected read or write instead of \"erase\"\n"
         "5: expected changes instead of \"wobbles\"\n6: expected and instead of \"or\"\n"
         "7: expected a condition instead of \"frob\"\n8: unexpected \"later\"\n9: use one \"=\" instead of \"==\"\n"
         "10: bad hex address \"10\": an address is one hex digit, 0 to F"},
        {"DidYouMean",
         "gaol read = 1234\ntitle: T\ntext: X\ngoal memroy 5 = BEEF\ngoal nevre WE = 0\ngoal count write bytes uper = 1\n"
         "given ordre = big\ngoal then wirte\ngoal never WE = 0 adn CE = 0\ngoal memory 5 unchagned\n",
         1,
         "1: unknown keyword \"gaol\"; did you mean \"goal\"?\n4: unknown goal \"memroy\"; did you mean \"memory\"?\n"
         "5: unknown goal \"nevre\"; did you mean \"never\"?\n"
         "6: expected both, upper or lower instead of \"uper\"; did you mean \"upper\"?\n"
         "7: unknown given \"ordre\"; did you mean \"order\"?\n"
         "8: expected read or write instead of \"wirte\"; did you mean \"write\"?\n"
         "9: expected and instead of \"adn\"; did you mean \"and\"?\n"
         "10: expected \"=\" instead of \"unchagned\"; did you mean \"unchanged\"?"},
        {"Whys", "why: early\n" + kTT + "goal read = 1234\nwhy: a\nwhy.de: b\nwhy: c\ntext: Y\nwhy: d\n", 1,
         "1: a why needs a goal above it\n7: a second why for the goal on line 4\n9: a why needs a goal above it"},
        {"Contradictions",
         kTT + "goal read = 1234\ngoal read = 5678\ngoal count write <= 0\ngoal count write >= 1\n"
               "goal memory 0-3 = 1???\ngoal memory 3 = 2???\ngoal CE = 0\ngoal ce = 1\ngoal actions = 3\ngoal actions >= 4\n"
               "goal order = big\ngoal order = little\ngoal address = 1\ngoal address = 2\ngoal data = 1???\ngoal data = 2???\n",
         4,
         "4: this goal and the one on line 3 can never hold together\n6: this goal and the one on line 5 can never hold together\n"
         "8: this goal and the one on line 7 can never hold together\n10: this goal and the one on line 9 can never hold together\n"
         "12: this goal and the one on line 11 can never hold together\n14: this goal and the one on line 13 can never hold together\n"
         "16: this goal and the one on line 15 can never hold together\n18: this goal and the one on line 17 can never hold together"},
        {"AlreadyHoldsAtTheStart", kTT + "goal memory 0-F unchanged\ngoal never write\ngoal WE = 1\n", 0,
         "0: every goal already holds at the start"},
        {"TwentyProblemsAtMost", Lines(30, "goal x"), 1, [] {
             std::string all = "1: unknown goal \"x\"";  // and no more: the title may come later
             for (int i = 2; i <= 20; ++i) all += "\n" + std::to_string(i) + ": unknown goal \"x\"";
             return all;
         }()},
    };
    return cases;
}

class ExerciseFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(ExerciseFile, IsAcceptedOrRefusedWithEveryProblem) {
    const FileCase& c = GetParam();
    Exercise ex;
    ex.title.plain = {"kept"};
    std::vector<ExerciseError> problems;
    const bool ok = CheckExercise(c.bytes, "f.bwx", ex, problems);
    std::string all;
    for (const ExerciseError& p : problems) all += (all.empty() ? "" : "\n") + p.Text();
    if (getenv("DUMP")) printf("@@%s\t%s\n", c.name, all.c_str());
    if (c.line < 0) {
        EXPECT_TRUE(ok) << all;
        EXPECT_EQ(ex.name, "f.bwx");
        return;
    }
    ASSERT_FALSE(ok);
    EXPECT_EQ(all, c.message);
    Exercise grammar;
    ExerciseError first;
    if (!ParseExercise(c.bytes, "f.bwx", grammar, first)) {
        EXPECT_EQ(first.Text(), problems.front().Text());
    }
    EXPECT_EQ(ex.title.plain, std::vector<std::string>{"kept"}) << "a refused file changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Grammar, ExerciseFile, ::testing::ValuesIn(FileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExerciseFile, ReadsWhatTheLinesSay) {
    const std::string file =
        "title: Plain\ntitle.de: Deutsch\ntext: one\ntext:  two \ntext.de: eins\nhint: h1\nhint: h2\n"
        "hint.fr: i1\ngiven memory 3-5 = beef\ngiven memory 4 = 0001\ngiven order = little\n"
        "given UB = 0\ngiven CE=0\ngiven UB = 1\ngiven address = c\ngiven data = 00fF\n"
        "goal memory 1-2 = a?3F\ngoal memory 6 unchanged\ngoal read = ????\ngoal address = B\n"
        "goal order = big\ngoal types  Integer\t(signed) = -2\n"
        "goal count write at 3-7 bytes upper <= 2\ngoal count read>=12\ngoal actions = 7\n";
    Exercise ex;
    ExerciseError error;
    ASSERT_TRUE(ParseExercise(file, "x", ex, error)) << error.Text();
    EXPECT_EQ(ex.title.plain, std::vector<std::string>{"Plain"});
    EXPECT_EQ(ex.text.plain, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(ex.hints.plain, (std::vector<std::string>{"h1", "h2"}));
    EXPECT_EQ(ex.hints.In("fr"), std::vector<std::string>{"i1"});
    EXPECT_EQ(ex.hints.In("de"), (std::vector<std::string>{"h1", "h2"}));
    EXPECT_EQ(ex.text.In("de"), std::vector<std::string>{"eins"});
    const std::array<int, 16> memory{-1, -1, -1, 0xBEEF, 0x0001, 0xBEEF, -1, -1,
                                     -1, -1, -1, -1,     -1,     -1,     -1, -1};
    EXPECT_EQ(ex.memory, memory);
    EXPECT_EQ(ex.order, 0);
    EXPECT_EQ(ex.address, 12);
    EXPECT_EQ(ex.data, 0x00FF);
    ASSERT_EQ(ex.controls.size(), 3u);
    EXPECT_EQ(ex.controls[1], std::make_pair(Control::CE, 0));
    EXPECT_EQ(ex.controls[2], std::make_pair(Control::UB, 1));
    ASSERT_EQ(ex.goals.size(), 9u);
    EXPECT_EQ(ex.goals[0].pattern, "A?3F");
    EXPECT_EQ(ex.goals[0].line, 17);
    EXPECT_EQ(ex.goals[1].kind, GoalKind::Unchanged);
    EXPECT_EQ(ex.goals[3].first, 11);
    EXPECT_EQ(ex.goals[5].label, "Integer (signed)");
    EXPECT_EQ(ex.goals[5].value, "-2");
    const Goal& count = ex.goals[6];
    EXPECT_TRUE(count.at);
    EXPECT_EQ(count.cycle, Cycle::Write);
    EXPECT_EQ(count.bytes, Bytes::Upper);
    EXPECT_EQ(count.op, Comparison::AtMost);
    EXPECT_EQ(count.last, 7);
    EXPECT_EQ(ex.goals[7].op, Comparison::AtLeast);
    EXPECT_EQ(ex.goals[7].bytes, Bytes::None);
    EXPECT_EQ(ex.goals[8].n, 7u);

    ASSERT_TRUE(SetLanguage("de"));
    EXPECT_EQ(ex.Title(), "Deutsch");
    EXPECT_EQ(ex.Hints(), (std::vector<std::string>{"h1", "h2"}));
    ASSERT_TRUE(SetLanguage("en"));
    EXPECT_EQ(ex.Title(), "Plain");
    EXPECT_EQ(ex.Text(), "one\ntwo");
}

// ---- Links ----

TEST(ExerciseLink, RoundTripsEveryLength) {
    std::mt19937 rng(18);
    for (std::size_t n = 0; n < 200; ++n) {
        std::string bytes;
        for (std::size_t i = 0; i < n; ++i) bytes += static_cast<char>(rng() & 0xFF);
        const std::string link = EncodeExerciseLink(bytes);
        EXPECT_EQ(link.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
                  std::string::npos);
        std::string back;
        ExerciseError error;
        if (n == 0) continue;
        ASSERT_TRUE(DecodeExerciseLink("file:///x/bitwell.html#exercise=" + link, back, error)) << n;
        EXPECT_EQ(back, bytes);
        std::string padded = link;
        while (padded.size() % 4) padded += '=';
        ASSERT_TRUE(DecodeExerciseLink(padded, back, error)) << n;
        EXPECT_EQ(back, bytes);
    }
}

TEST(ExerciseLink, RefusesWhatIsNotBase64Url) {
    for (const std::string& link : std::vector<std::string>{"#exercise=", "#exercise=A", "#exercise=ab+c", "#exercise=ab/c",
                                   "#exercise=YWJj=", "#exercise=YW Jj", "#exercise=YWJj%3D",
                                   "#exercise=" + std::string(87400, 'A')}) {
        std::string bytes = "kept";
        ExerciseError error;
        EXPECT_FALSE(DecodeExerciseLink(link, bytes, error)) << link.substr(0, 40);
        EXPECT_EQ(error.line, 0);
        EXPECT_EQ(bytes, "kept");
    }
}

// ---- Sessions driven by a student, mirrored on the reference model ----

// Moves the panel as a student does and the reference chip as the panel
// should, noting each evaluation and each action that ran one.
// The reference chip after one evaluation, for the goals that watch them all.
struct Seen {
    unsigned levels, address;
    std::uint16_t data, read, word;
    ReferenceChip::Done done;
};

struct Student {
    Panel* panel;
    ReferenceChip& ref;
    std::vector<Seen>* seen = nullptr;

    void evaluated(bool& any) {
        const ReferenceChip::Done done = ref.evaluateNoted();
        if (seen) seen->push_back({ref.levels, ref.address, ref.data, ref.read, ref.words[ref.address], done});
        any = true;
    }
    void done(bool any) {
        if (any) ++ref.tally.actions;
    }
    // Moves bit `bit` of `bits` to `v`, evaluating when it really moves.
    template <class Bits>
    void move(Bits& bits, int bit, int v) {
        bool any = false;
        if (((bits >> bit) & 1u) != static_cast<unsigned>(v)) {
            bits = static_cast<Bits>(bits ^ (1u << bit));
            evaluated(any);
        }
        done(any);
    }
    void level(int c, int v) {
        if (panel) panel->MoveLevel(static_cast<Control>(c), v);
        move(ref.levels, c, v);
    }
    void addressBit(int bit, int v) {
        if (panel) panel->MoveAddressBit(bit, v);
        move(ref.address, bit, v);
    }
    void dataBit(int bit, int v) {
        if (panel) panel->MoveDataBit(bit, v);
        move(ref.data, bit, v);
    }
    void order(bool big) {
        if (panel) panel->ChooseOrder(big);
        ref.big = big;
        bool any = false;
        evaluated(any);
        done(any);
    }
    void type(std::uint16_t word) {
        const std::string hex = ReferenceChip::hex(word, 4);
        if (panel) {
            std::vector<TypedCharacter> answer;
            for (const char c : hex) answer.push_back({std::u16string(1, static_cast<char16_t>(c))});
            panel->EnterTypedWord(answer);
        }
        bool any = false;
        for (int k = 15; k >= 0; --k)
            if (((ref.data >> k) & 1u) != ((word >> k) & 1u)) {
                ref.data = static_cast<std::uint16_t>(ref.data ^ (1u << k));
                evaluated(any);
            }
        done(any);
    }

    // "CE=0", "A3=1", "D15=0", "D=BEEF" (a typed word), "order=little",
    // separated by blanks.
    void run(const std::string& script) {
        std::istringstream in(script);
        for (std::string step; in >> step;) {
            const auto eq = step.find('=');
            const std::string what = step.substr(0, eq), value = step.substr(eq + 1);
            static const char* const kControls[] = {"CE", "OE", "WE", "LB", "UB"};
            bool known = false;
            for (int c = 0; c < 5; ++c)
                if (what == kControls[c]) {
                    level(c, value == "1");
                    known = true;
                }
            if (known) continue;
            if (what == "order") order(value == "big");
            else if (what == "D") type(static_cast<std::uint16_t>(std::stoul(value, nullptr, 16)));
            else if (what[0] == 'A') addressBit(std::stoi(what.substr(1)), value == "1");
            else if (what[0] == 'D') dataBit(std::stoi(what.substr(1)), value == "1");
            else ADD_FAILURE() << "unknown step " << step;
        }
    }
};

// The reference chip at an exercise's start, built from its givens.
ReferenceChip ReferenceStart(const Exercise& ex) {
    ReferenceChip ref;
    ref.words.fill(0xFFFF);
    ref.read = 0xFFFF;
    ref.levels = 31;
    for (std::size_t i = 0; i < 16; ++i)
        if (ex.memory[i] >= 0) ref.words[i] = static_cast<std::uint16_t>(ex.memory[i]);
    Student s{nullptr, ref};
    if (ex.order >= 0) s.order(ex.order == 1);
    if (ex.address >= 0)
        for (int bit = 3; bit >= 0; --bit) s.addressBit(bit, (ex.address >> bit) & 1);
    if (ex.data >= 0) s.type(static_cast<std::uint16_t>(ex.data));
    for (const auto& [c, v] : ex.controls) s.level(static_cast<int>(c), v);
    ref.tally = {};
    return ref;
}

bool Matches(std::uint16_t word, const std::string& pattern) {
    for (int i = 0; i < 4; ++i)
        if (pattern[static_cast<std::size_t>(i)] != '?' &&
            pattern[static_cast<std::size_t>(i)] != ReferenceChip::hex(word, 4)[static_cast<std::size_t>(i)])
            return false;
    return true;
}

bool Compare(unsigned long v, Comparison op, unsigned long n) {
    return op == Comparison::Equal ? v == n : op == Comparison::AtMost ? v <= n : v >= n;
}

// Whether evaluation `e` was a cycle of kind `c`, within first-last when `at`.
bool IsCycle(const Seen& e, Cycle c, bool at, int first, int last) {
    return e.done.kind == (c == Cycle::Write ? ReferenceChip::Done::Write : ReferenceChip::Done::Read) &&
           (!at || (static_cast<int>(e.address) >= first && static_cast<int>(e.address) <= last));
}

// Whether a `never` goal holds after the evaluations `seen` since `start`.
bool NeverHolds(const Goal& g, const ReferenceChip& start, const std::vector<Seen>& seen) {
    unsigned address = start.address;
    std::uint16_t data = start.data;
    for (const Seen& e : seen) {
        bool all = true;
        for (const Condition& c : g.conditions) {
            switch (c.what) {
                case Condition::What::Level:
                    all = all && ((e.levels >> static_cast<unsigned>(c.control)) & 1u) == static_cast<unsigned>(c.level);
                    break;
                case Condition::What::AddressChanges: all = all && e.address != address; break;
                case Condition::What::DataChanges: all = all && e.data != data; break;
                case Condition::What::Cycle: all = all && IsCycle(e, c.cycle, c.at, c.first, c.last); break;
            }
        }
        if (all) return false;
        address = e.address;
        data = e.data;
    }
    return true;
}

// Whether `then` goal `g` of `ex` was met: each takes the first matching
// evaluation after the one the previous took.
bool ThenMet(const Exercise& ex, const Goal& g, const std::vector<Seen>& seen) {
    std::size_t next = 0;
    for (const Goal& t : ex.goals) {
        if (t.kind != GoalKind::Then) continue;
        const int bytes = t.bytes == Bytes::None ? -1 : t.bytes == Bytes::Both ? 0xFFFF : t.bytes == Bytes::Upper ? 0xFF00 : 0x00FF;
        while (next < seen.size() &&
               !(IsCycle(seen[next], t.cycle, t.at, t.first, t.last) && (bytes < 0 || seen[next].done.mask == bytes) &&
                 (t.pattern.empty() ||
                  Matches(t.cycle == Cycle::Read ? seen[next].read : seen[next].word, t.pattern))))
            ++next;
        if (next == seen.size()) return false;
        ++next;
        if (&t == &g) return true;
    }
    return false;
}

// Whether a goal holds, by the reference chip.
bool Expected(const Goal& g, const ReferenceChip& ref, const ReferenceChip& start,
              const std::vector<Seen>& seen = {}, const Exercise* ex = nullptr) {
    const auto first = static_cast<unsigned>(g.first), last = static_cast<unsigned>(g.last);
    switch (g.kind) {
        case GoalKind::Memory:
            for (unsigned a = first; a <= last; ++a)
                if (!Matches(ref.words[a], g.pattern)) return false;
            return true;
        case GoalKind::Unchanged:
            for (unsigned a = first; a <= last; ++a)
                if (ref.words[a] != start.words[a]) return false;
            return true;
        case GoalKind::Read: return Matches(ref.read, g.pattern);
        case GoalKind::Address: return ref.address == first;
        case GoalKind::Order: return ref.big == g.bigEndian;
        case GoalKind::Types: {
            ReferenceChip at = ref;
            if (g.at) at.address = first;
            return at.typesValue(g.label) == g.value;
        }
        case GoalKind::Count: {
            const int bytes = g.bytes == Bytes::None ? -1 : g.bytes == Bytes::Both ? 0 : g.bytes == Bytes::Upper ? 1 : 2;
            return Compare(ref.tally.count(g.cycle == Cycle::Write, g.at ? first : 0, g.at ? last : 15, bytes),
                           g.op, g.n);
        }
        case GoalKind::Actions: return Compare(ref.tally.actions, g.op, g.n);
        case GoalKind::Level: return ((ref.levels >> static_cast<unsigned>(g.control)) & 1u) == static_cast<unsigned>(g.level);
        case GoalKind::Data: return Matches(ref.data, g.pattern);
        case GoalKind::Never: return NeverHolds(g, start, seen);
        case GoalKind::Then: return ex && ThenMet(*ex, g, seen);
    }
    return false;
}

struct Heard : ExerciseSession::Listener {
    int changed = 0, checked = 0, done = 0;
    void exerciseChanged() override { ++changed; }
    void goalsChecked() override { ++checked; }
    void exerciseDone() override { ++done; }
};

std::string RandomRange(std::mt19937& rng, bool range) {
    const unsigned a = rng() % 16, b = a + rng() % (16 - a);
    std::string s = ReferenceChip::hex(a, 1);
    if (range && b != a) s += "-" + ReferenceChip::hex(b, 1);
    return s;
}

std::string RandomPattern(std::mt19937& rng) {
    static const char kDigits[] = "05AF?";
    std::string p;
    for (int i = 0; i < 4; ++i) p += kDigits[rng() % 5];
    return p;
}

// Up to `goals` random goals, with random givens.
std::string RandomExercise(std::mt19937& rng, unsigned goals) {
    static const char* const kOps[] = {"=", "<=", ">="};
    static const char* const kLabels[] = {"Byte (unsigned)",    "Byte (signed)",    "Short (unsigned)",
                                          "Short (signed)",     "Integer (unsigned)", "Integer (signed)",
                                          "Float"};
    // Values each line can show (a line of the listing, then three values).
    static const char* const kValues[7][3] = {{"0", "255", "5"},   {"0", "-1", "5"},   {"0", "65535", "5"},
                                              {"0", "-1", "5"},    {"0", "N/A", "5"},  {"0", "-1", "N/A"},
                                              {"-0", "NaN", "N/A"}};
    std::string f = "title: Random\ntext: Random goals\n";
    for (int i = 0, n = static_cast<int>(rng() % 4); i < n; ++i)
        f += "given memory " + RandomRange(rng, true) + " = " +
             ReferenceChip::hex(std::array<unsigned, 5>{0x0000, 0xFFFF, 0x5A5A, 0x00FF, 0xA50F}[rng() % 5], 4) + "\n";
    if (rng() % 2) f += std::string("given order = ") + (rng() % 2 ? "big" : "little") + "\n";
    if (rng() % 2) f += "given address = " + RandomRange(rng, false) + "\n";
    if (rng() % 2) f += "given data = " + ReferenceChip::hex(rng() & 0xFFFF, 4) + "\n";
    for (int i = 0, n = static_cast<int>(rng() % 4); i < n; ++i)
        f += std::string("given ") + ("CE\0OE\0WE\0LB\0UB" + 3 * (rng() % 5)) + " = " + std::to_string(rng() % 2) + "\n";
    for (int i = 0, n = 1 + static_cast<int>(rng() % goals); i < n; ++i) {
        switch (rng() % 12) {
            case 0: f += "goal memory " + RandomRange(rng, true) + " = " + RandomPattern(rng) + "\n"; break;
            case 1: f += "goal memory " + RandomRange(rng, true) + " unchanged\n"; break;
            case 2: f += "goal read = " + RandomPattern(rng) + "\n"; break;
            case 3: f += "goal address = " + RandomRange(rng, false) + "\n"; break;
            case 4: f += std::string("goal order = ") + (rng() % 2 ? "big" : "little") + "\n"; break;
            case 5: {
                const unsigned k = rng() % 7;
                f += std::string("goal types ") + (rng() % 2 ? "at " + RandomRange(rng, false) + " " : "") + kLabels[k] +
                     " = " + kValues[k][rng() % 3] + "\n";
                break;
            }
            case 8:
                f += std::string("goal ") + ("ce\0OE\0We\0LB\0ub" + 3 * (rng() % 5)) + " = " + std::to_string(rng() % 2) + "\n";
                break;
            case 9: f += "goal data = " + RandomPattern(rng) + "\n"; break;
            case 10:
                f += std::string("goal never ") + std::array<const char*, 3>{"WE = 0", "OE = 1", "CE = 0"}[rng() % 3] +
                     (rng() % 2 ? " and address changes" : " and data changes") +
                     (rng() % 2 ? " and write at " + RandomRange(rng, true) : "") + "\n";
                break;
            case 11:
                f += std::string("goal then ") + (rng() % 2 ? "read" : "write");
                if (rng() % 2) f += std::string(" bytes ") + ("both\0 upper\0lower" + 6 * (rng() % 3));
                if (rng() % 2) f += " at " + RandomRange(rng, true);
                if (rng() % 2) f += " = " + RandomPattern(rng);
                f += "\n";
                break;
            case 6:
                f += std::string("goal count ") + (rng() % 2 ? "read" : "write");
                if (rng() % 2) f += " at " + RandomRange(rng, true);
                if (rng() % 2) f += std::string(" bytes ") + ("both\0 upper\0lower" + 6 * (rng() % 3));
                f += std::string(" ") + kOps[rng() % 3] + " " + std::to_string(rng() % 6) + "\n";
                break;
            default:
                f += std::string("goal actions ") + kOps[rng() % 3] + " " + std::to_string(rng() % 40) + "\n";
        }
    }
    return f;
}

// Every goal kind against the reference model: random exercises, each
// driven by a random student, with every goal's state and done compared
// after every action.
TEST(ExerciseSession, EveryGoalAgreesWithTheReferenceModel) {
    const unsigned seed = 1818;
    std::mt19937 rng(seed);
    Panel panel;
    panel.Form_Load();
    Heard heard;
    ExerciseSession session(panel, &heard);
    int doneSeen = 0;
    for (int round = 0; round < 60; ++round) {
        // Now and then a full one; mostly a few goals, so that some are done.
        const std::string file = RandomExercise(rng, round % 4 == 0 ? 50 : 3);
        ExerciseError error;
        ASSERT_TRUE(session.Open(file, "random.bwx", error)) << error.Text() << "\n" << file;
        const Exercise& ex = session.exercise();
        ReferenceChip ref = ReferenceStart(ex);
        const ReferenceChip start = ref;
        ASSERT_EQ(panel.contentsText(), ref.contents()) << file;
        ASSERT_EQ(panel.readText(), ReferenceChip::hex(ref.read, 4)) << file;
        ASSERT_TRUE(panel.trace().empty());
        std::vector<Seen> seen;
        Student student{&panel, ref, &seen};
        bool done = false;
        for (int n = 0; n <= 250; ++n) {
            if (n > 0) {
                const unsigned pick = rng() % 100;
                if (pick < 40) student.level(static_cast<int>(rng() % 5), static_cast<int>(rng() % 2));
                else if (pick < 60) student.addressBit(static_cast<int>(rng() % 4), static_cast<int>(rng() % 2));
                else if (pick < 85) student.dataBit(static_cast<int>(rng() % 16), static_cast<int>(rng() % 2));
                else if (pick < 95) student.type(static_cast<std::uint16_t>(rng() & 0xFFFF));
                else student.order(rng() % 2 == 0);
            }
            bool all = true;
            for (std::size_t g = 0; g < ex.goals.size(); ++g) {
                const bool want = Expected(ex.goals[g], ref, start, seen, &ex);
                all = all && want;
                ASSERT_EQ(session.holds(g), want)
                    << "seed " << seed << " round " << round << " action " << n << " goal line "
                    << ex.goals[g].line << "\n" << file;
            }
            if (all && !done) ++doneSeen;
            done = done || all;
            ASSERT_EQ(session.done(), done) << "round " << round << " action " << n;
            ASSERT_EQ(session.actions(), ref.tally.actions);
        }
    }
    EXPECT_GT(doneSeen, 5) << "the random exercises should be done now and then";
    EXPECT_EQ(heard.done, doneSeen);
}

// Each goal kind in words, as the student reads it, and the moment it is
// checked.
struct SayCase {
    const char* name;
    std::string goals;   // goal lines; the exercise adds a title and text
    std::string script;  // what the student does (Student::run)
    std::vector<std::string> says;
    bool done;
    std::string result = {};  // the result line, where the row says it
};

void PrintTo(const SayCase& c, std::ostream* os) { *os << c.name; }

class GoalInWords : public ::testing::TestWithParam<SayCase> {};

TEST_P(GoalInWords, SaysTheGoalAndWhyItDoesNotHoldYet) {
    const SayCase& c = GetParam();
    Panel panel;
    panel.Form_Load();
    ExerciseSession session(panel);
    ExerciseError error;
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngiven memory 0-F = 0000\n" + c.goals, "t", error))
        << error.Text();
    ReferenceChip ref = ReferenceStart(session.exercise());
    std::vector<Seen> seen;
    Student{&panel, ref, &seen}.run(c.script);
    const auto items = session.Goals();
    ASSERT_EQ(items.size(), c.says.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].text, c.says[i]);
        EXPECT_EQ(items[i].holds, Expected(session.exercise().goals[i], ref, ReferenceStart(session.exercise()), seen,
                                           &session.exercise()));
    }
    EXPECT_EQ(session.done(), c.done);
    EXPECT_EQ(session.DoneText().empty(), !c.done);
    if (!c.result.empty()) {
        EXPECT_EQ(session.DoneText(), c.result);
    }
}

const std::string kWriteAt5 = "A0=1 A2=1 D=BEEF LB=0 UB=0 CE=0 WE=0";

INSTANTIATE_TEST_SUITE_P(
    Kinds, GoalInWords,
    ::testing::Values(
        SayCase{"MemoryNotYet", "goal memory 5 = BEEF\n", "", {"Word 5 should hold BEEF; it holds 0000."}, false},
        SayCase{"MemoryHolds", "goal memory 5 = BEEF\n", kWriteAt5, {"Word 5 holds BEEF."}, true},
        SayCase{"MemoryRange", "goal memory 4-6 = ?E??\n", kWriteAt5,
                {"Words 4 to 6 should hold ?E??; word 4 holds 0000."}, false},
        SayCase{"Unchanged", "goal memory 5 unchanged\ngoal memory 0-F unchanged\n", kWriteAt5,
                {"Word 5 should keep 0000; it holds BEEF.",
                 "Words 0 to F should keep what they held; word 5 holds BEEF instead of 0000."},
                true},  // done at the start, and it stays done
        SayCase{"UnchangedHolds", "goal memory 0-4 unchanged\n", kWriteAt5, {"Words 0 to 4 keep what they held."}, true},
        SayCase{"Read", "goal read = 12??\n", "", {"The read word should be 12??; it is FFFF."}, false},
        SayCase{"ReadHolds", "goal read = BE?F\n", kWriteAt5 + " WE=1 OE=0", {"The read word is BE?F."}, true},
        SayCase{"Address", "goal address = C\n", "A2=1", {"The address should be C; it is 4."}, false},
        SayCase{"Order", "goal order = little\n", "", {"The word order should be Little Endian; it is Big Endian."}, false},
        SayCase{"OrderHolds", "goal order = little\n", "order=little", {"The word order is Little Endian."}, true},
        SayCase{"Types", "goal types Short (signed) = -16657\n", "A2=1", {"Short (signed) should show -16657; it shows 0."},
                false},
        SayCase{"TypesHolds", "goal types Short (signed) = -16657\n", kWriteAt5 + " A0=0",
                {"Short (signed) shows -16657."}, true},
        // Every switch of a write cycle held at address 5 writes again.
        SayCase{"Count", "goal count write at 5 = 1\n", kWriteAt5 + " D0=0 D1=0",
                {"Exactly 1 write cycle at address 5; so far 3."}, true},  // done at the first
        SayCase{"CountBytes", "goal count read at 3-9 bytes upper >= 2\n", "UB=0 OE=0 CE=0 A3=1",
                {"At least 2 read cycles at addresses 3 to 9, upper byte only; so far 1."}, false},
        SayCase{"CountAtMost", "goal count write bytes lower <= 0\n", "", {"No write cycle, lower byte only; so far 0."},
                true},
        SayCase{"Actions", "goal actions <= 1\n", "A0=1 A0=1 A1=1", {"At most 1 action; so far 2."}, true},
        SayCase{"ActionsExactly", "goal actions = 3\n", "D=FFFF", {"Exactly 3 actions; so far 1."}, false},
        SayCase{"LevelSinceThen", "goal we = 1\n", kWriteAt5, {"WE should be 1; it is 0."}, true,
                "Done in 0 actions. Since then: WE should be 1; it is 0."},
        SayCase{"DataHolds", "goal data = BE?F\n", kWriteAt5, {"The data input is BE?F."}, true},
        SayCase{"TypesAt", "goal types at 4 Short (signed) = -16657\n", "",
                {"Short (signed) at address 4 should show -16657; it shows 0."}, false},
        SayCase{"TypesAtHoldsElsewhere", "goal types at 4 Short (signed) = -16657\n", kWriteAt5,
                {"Short (signed) at address 4 shows -16657."}, true},
        SayCase{"NeverHolds", "goal never write at 0-4\n", kWriteAt5, {"Never: a write at addresses 0 to 4."}, true},
        SayCase{"NeverBroken", "goal never address changes and WE = 0 and CE = 0\ngoal read = BEEF\n",
                kWriteAt5 + " A0=0 OE=0 WE=1",
                {"Broken at step 30: the address changed while WE was 0 and CE was 0.", "The read word is BEEF."}, false},
        SayCase{"ThenInOrder", "goal then read at 5 = BEEF\ngoal then write at 5 = BEEF\ngoal then write\n",
                kWriteAt5 + " WE=1 OE=0",
                {"Done in order (1 of 3) at step 31: a read at address 5 that returns BEEF.",
                 "Next in order (2 of 3): a write at address 5 that stores BEEF.", "After 2 of 3: a write."},
                false},
        SayCase{"ThenBytes", "goal then write bytes upper at 5\n", kWriteAt5,
                {"Next in order (1 of 1): a write at address 5, upper byte only."}, false},
        SayCase{"ThenMet", "goal then read\ngoal then write at 5 = BEEF\n", "OE=0 CE=0 " + kWriteAt5,
                {"Done in order (1 of 2) at step 28: a read.", "Done in order (2 of 2) at step 30: a write at address 5 that stores BEEF."},
                true, "Done in 8 actions."},
        SayCase{"Why", "goal memory 5 = BEEF\nwhy: Write BEEF into word 5.\nwhy.de: Schreibe BEEF in Wort 5.\n", "",
                {"Write BEEF into word 5."}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExerciseSession, AnIntermediateWordOfATypedEntryNeverCountsAsDone) {
    Panel panel;
    panel.Form_Load();
    Heard heard;
    ExerciseSession session(panel, &heard);
    ExerciseError error;
    // A write held at address 0: typing FFFF over 0000 writes 8000 on the way.
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngiven LB = 0\ngiven UB = 0\ngiven CE = 0\ngiven WE = 0\n"
                             "goal memory 0 = 8000\n",
                             "t", error));
    EXPECT_EQ(heard.changed, 1);
    EXPECT_EQ(heard.checked, 1) << "checked once at the start";
    ReferenceChip ref = ReferenceStart(session.exercise());
    Student{&panel, ref}.run("D=FFFF");
    EXPECT_EQ(ref.tally.count(1, 0, 0, -1), 16u) << "sixteen writes, the first of 8000";
    EXPECT_EQ(session.cycles(Cycle::Write, 0, 0), 16u);
    EXPECT_EQ(heard.checked, 2) << "checked once after the whole typed word";
    EXPECT_FALSE(session.done());
    EXPECT_EQ(heard.done, 0);
}

TEST(ExerciseSession, CountsKeepGoingPastTheTracesLimit) {
    Panel panel;
    panel.Form_Load();
    ExerciseSession session(panel);
    ExerciseError error;
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngiven OE = 0\ngiven LB = 0\ngoal count read >= 5000\n", "t", error));
    for (int i = 0; i < 2500; ++i) {
        panel.MoveLevel(Control::CE, 0);
        panel.MoveLevel(Control::CE, 1);
    }
    EXPECT_EQ(panel.trace().size(), Trace::kCapacity);
    EXPECT_EQ(session.actions(), 5000u);
    EXPECT_EQ(session.cycles(Cycle::Read, 0, 15, Bytes::Lower), 2500u);
    EXPECT_FALSE(session.done());
    for (int i = 0; i < 2500; ++i) {
        panel.MoveLevel(Control::CE, 0);
        panel.MoveLevel(Control::CE, 1);
    }
    EXPECT_TRUE(session.done());
    EXPECT_EQ(session.DoneText(), "Done in 9999 actions.");
}

// The start is program start, whatever went before, with the givens applied.
TEST(ExerciseSession, StartsFromPowerOnWithTheGivensAndAnEmptyTrace) {
    Panel fresh;
    fresh.Form_Load();
    Panel panel;
    panel.Form_Load();
    ReferenceChip ref;
    Student{&panel, ref}.run("A0=1 A3=1 D=1234 order=little OE=0 CE=0 WE=0 LB=0");
    ExerciseSession session(panel);
    ExerciseError error;
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngoal memory 0 = FFFF\n", "t", error));
    EXPECT_TRUE(session.done()) << "done at the start when every goal holds";
    EXPECT_EQ(session.DoneText(), "Done in 0 actions.");
    for (int c = 0; c < 5; ++c) EXPECT_EQ(panel.level(static_cast<Control>(c)), fresh.level(static_cast<Control>(c)));
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(panel.dataBit(k), 0);
        EXPECT_EQ(panel.lamp(k), fresh.lamp(k));
    }
    EXPECT_EQ(panel.addressText(), "0");
    EXPECT_EQ(panel.dataText(), "0000");
    EXPECT_EQ(panel.readText(), "FFFF");
    EXPECT_EQ(panel.contentsText(), fresh.contentsText());
    EXPECT_EQ(panel.typesText(), fresh.typesText());
    EXPECT_TRUE(panel.bigEndian());
    EXPECT_TRUE(panel.trace().empty());
    EXPECT_TRUE(panel.MemoryAtPowerOn());
    // The trace keeps numbering across the start.
    panel.MoveLevel(Control::CE, 0);
    EXPECT_GT(panel.trace().back().action, 8u);

    // Memory givens are stored with no evaluation: no cycle, no lamp.
    const auto runs = panel.device().updateMemoryRuns();
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngiven memory 0 = 0000\ngoal memory 0 = 0000\n", "t", error));
    EXPECT_EQ(panel.device().updateMemoryRuns() - runs, 5) << "the start-up run only";
    EXPECT_EQ(panel.readText(), "FFFF");
    EXPECT_FALSE(panel.MemoryAtPowerOn());
    EXPECT_EQ(panel.contentsText().substr(0, 13), "00: 0000 FFFF");
    EXPECT_NE(panel.typesText().find("Data: 0x0000FFFF"), std::string::npos);
}

// A front end that draws only what it is told.
struct MirrorView : PanelView {
    int levels[5] = {}, address[4] = {}, data[16] = {};
    bool lamps[16] = {};
    std::string addressText, dataText, readText, contents, types;
    bool big = true;
    int cleared = 0;

    void levelChanged(Control c, int v, Cascade&) override { levels[static_cast<int>(c)] = v; }
    void addressBitChanged(int bit, int v, Cascade&) override { address[bit] = v; }
    void dataBitChanged(int bit, int v, Cascade&) override { data[bit] = v; }
    void addressTextChanged(const std::string& t) override { addressText = t; }
    void dataTextChanged(const std::string& t, Cascade&) override { dataText = t; }
    void readTextChanged(const std::string& t, Cascade&) override { readText = t; }
    void lampChanged(int bit, bool lit) override { lamps[bit] = lit; }
    void contentsChanged(const std::string& t) override { contents = t; }
    void typesChanged(const std::string& t) override { types = t; }
    void orderChanged(bool b) override { big = b; }
    void traceCleared() override { ++cleared; }
};

// Power-up afresh and the start of an exercise reach the front end: a view
// that follows what it hears draws the panel as it is.
TEST(ExerciseSession, TheViewHearsEveryChangeOfTheStart) {
    MirrorView view;
    Panel panel(&view);
    for (int k = 0; k < 16; ++k) view.lamps[k] = true;
    view.addressText = "0";
    view.dataText = view.readText = "0000";
    panel.Form_Load();
    ReferenceChip ref;
    Student{&panel, ref}.run("A0=1 A3=1 D=1234 order=little OE=0 CE=0 WE=0 LB=0 WE=1");
    ExerciseSession session(panel);
    ExerciseError error;
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngiven memory 2 = 0042\ngiven address = 2\ngiven UB = 0\n"
                             "goal read = 0000\n",
                             "t", error));
    for (int c = 0; c < 5; ++c) EXPECT_EQ(view.levels[c], panel.level(static_cast<Control>(c))) << c;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(view.address[k], panel.addressBit(k)) << k;
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(view.data[k], panel.dataBit(k)) << k;
        EXPECT_EQ(view.lamps[k], panel.lamp(k)) << k;
    }
    EXPECT_EQ(view.addressText, "2");
    EXPECT_EQ(view.dataText, panel.dataText());
    EXPECT_EQ(view.readText, panel.readText());
    EXPECT_EQ(view.contents, panel.contentsText());
    EXPECT_EQ(view.contents.substr(15, 13), "02: 0042 FFFF");
    EXPECT_EQ(view.types, panel.typesText());
    EXPECT_TRUE(view.big);
    EXPECT_EQ(view.cleared, 1);
}

TEST(ExerciseSession, ABadFileChangesNothing) {
    Panel panel;
    panel.Form_Load();
    Heard heard;
    ExerciseSession session(panel, &heard);
    ExerciseError error;
    EXPECT_FALSE(session.Open("title: T\n", "bad.bwx", error));
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(heard.changed, 0);

    ASSERT_TRUE(session.Open(std::string(BuiltinExercises()[1].bytes), "02", error));
    ReferenceChip ref = ReferenceStart(session.exercise());
    Student{&panel, ref}.run("A0=1 A2=1 D=BE00 LB=0");
    const auto goals = session.Goals();
    const std::string contents = panel.contentsText(), types = panel.typesText(), read = panel.readText();
    const std::size_t steps = panel.trace().size();
    const unsigned long actions = session.actions();
    const int changed = heard.changed, checked = heard.checked;
    for (const std::string& bad : {std::string("title: T\ntext: X\ngoal memroy 1 = 0000\n"),
                                  std::string(70000, '#'), std::string("title: \xFF\n")}) {
        EXPECT_FALSE(session.Open(bad, "bad.bwx", error));
        EXPECT_TRUE(session.isOpen());
        EXPECT_EQ(session.exercise().Title(), "Write one word");
        EXPECT_EQ(session.actions(), actions);
        const auto now = session.Goals();
        ASSERT_EQ(now.size(), goals.size());
        for (std::size_t i = 0; i < now.size(); ++i) EXPECT_EQ(now[i].text, goals[i].text);
        EXPECT_EQ(panel.contentsText(), contents);
        EXPECT_EQ(panel.typesText(), types);
        EXPECT_EQ(panel.readText(), read);
        EXPECT_EQ(panel.dataText(), "BE00");
        EXPECT_EQ(panel.trace().size(), steps);
        EXPECT_EQ(heard.changed, changed);
        EXPECT_EQ(heard.checked, checked);
    }
}

TEST(ExerciseSession, RestartAndCloseAndTheDoneState) {
    Panel panel;
    panel.Form_Load();
    Heard heard;
    ExerciseSession session(panel, &heard);
    ExerciseError error;
    ASSERT_TRUE(session.Open("title: T\ntext: X\ngoal address = 1\ngoal actions <= 5\n", "t", error));
    panel.MoveAddressBit(0, 1);
    EXPECT_TRUE(session.done());
    EXPECT_EQ(session.DoneText(), "Done in 1 action.");
    panel.MoveAddressBit(0, 0);  // stays done once done
    EXPECT_TRUE(session.done());
    EXPECT_EQ(heard.done, 1);
    session.Restart();
    EXPECT_FALSE(session.done());
    EXPECT_EQ(session.actions(), 0u);
    EXPECT_EQ(panel.addressText(), "0");
    EXPECT_EQ(heard.changed, 2);
    session.Close();
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(session.Goals().empty());
    panel.MoveAddressBit(0, 1);
    EXPECT_EQ(panel.addressText(), "1") << "closing keeps the chip as it is";
    EXPECT_FALSE(session.done());
    session.Restart();
    EXPECT_EQ(panel.addressText(), "1") << "nothing to restart";
}

TEST(ExerciseSession, HintsComeOneAtATimeInTheChosenLanguage) {
    Panel panel;
    panel.Form_Load();
    ExerciseSession session(panel);
    EXPECT_FALSE(session.HasMoreHints());
    ExerciseError error;
    ASSERT_TRUE(session.Open("title: T\ntext: X\nhint: one\nhint: two\nhint.de: eins\ngoal read = 0000\n", "t",
                             error));
    EXPECT_TRUE(session.ShownHints().empty());
    session.NextHint();
    EXPECT_EQ(session.ShownHints(), std::vector<std::string>{"one"});
    ASSERT_TRUE(SetLanguage("de"));
    EXPECT_EQ(session.ShownHints(), std::vector<std::string>{"eins"});
    EXPECT_FALSE(session.HasMoreHints()) << "German has one hint";
    ASSERT_TRUE(SetLanguage("en"));
    EXPECT_TRUE(session.HasMoreHints());
    session.NextHint();
    session.NextHint();
    EXPECT_EQ(session.ShownHints(), (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(session.HasMoreHints());
    session.Restart();
    EXPECT_TRUE(session.ShownHints().empty());
}

// ---- The built-in course ----

struct Solution {
    const char* file;
    const char* script;
};

const Solution kSolutions[] = {
    {"01-read.bwx", "A0=1 A1=1 UB=0 LB=0 OE=0 CE=0"},
    {"02-write-word.bwx", "A0=1 A2=1 D=BEEF LB=0 UB=0 CE=0 WE=0"},
    {"03-write-upper.bwx", "D=AB00 UB=0 CE=0 WE=0"},
    {"04-read-lower.bwx", "A0=1 A1=1 LB=0 OE=0 CE=0"},
    {"05-ce-high.bwx", "A3=1 A2=0 A1=0 A0=1"},
    {"06-write-on-the-way.bwx", "WE=1 A3=1 A0=1 D=4321 WE=0"},
    {"07-signed.bwx", "D=FFFE LB=0 UB=0 CE=0 WE=0"},
    {"08-word-order.bwx", "order=little D=0001 LB=0 UB=0 CE=0 WE=0"},
    {"09-float-one.bwx", "D=3F80 LB=0 UB=0 CE=0 WE=0"},
    {"10-float-minus-zero.bwx", "A0=1 D=8000 LB=0 UB=0 CE=0 WE=0 WE=1 A0=0"},
};

class Course : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Course, IsSolvedByItsScriptAndNotDoneAtItsStart) {
    const Solution& solution = kSolutions[GetParam()];
    ASSERT_LT(GetParam(), BuiltinExercises().size());
    const BuiltinExercise& builtin = BuiltinExercises()[GetParam()];
    ASSERT_EQ(builtin.name, solution.file) << "course order";
    Panel panel;
    panel.Form_Load();
    ExerciseSession session(panel);
    ExerciseError error;
    ASSERT_TRUE(session.Open(builtin.bytes, builtin.name, error)) << error.Text(builtin.name);
    EXPECT_FALSE(session.done());
    ReferenceChip ref = ReferenceStart(session.exercise());
    Student{&panel, ref}.run(solution.script);
    std::string why;
    for (const auto& item : session.Goals()) why += item.text + "\n";
    EXPECT_TRUE(session.done()) << why;
    // The same script, step by step on the reference model, agrees.
    const ReferenceChip start = ReferenceStart(session.exercise());
    for (std::size_t g = 0; g < session.exercise().goals.size(); ++g)
        EXPECT_TRUE(Expected(session.exercise().goals[g], ref, start)) << g;
}

// The data-type goals read the listing the student sees, in whatever
// language it speaks.
TEST_P(Course, IsSolvedInEveryLanguage) {
    const Solution& solution = kSolutions[GetParam()];
    const BuiltinExercise& builtin = BuiltinExercises()[GetParam()];
    for (const std::string& code : Languages()) {
        ASSERT_TRUE(SetLanguage(code));
        Panel panel;
        panel.Form_Load();
        ExerciseSession session(panel);
        ExerciseError error;
        ASSERT_TRUE(session.Open(builtin.bytes, builtin.name, error)) << error.Text(builtin.name);
        ReferenceChip ref = ReferenceStart(session.exercise());
        Student{&panel, ref}.run(solution.script);
        std::string why;
        for (const auto& item : session.Goals()) why += item.text + "\n";
        EXPECT_TRUE(session.done()) << code << "\n" << why;
    }
    SetLanguage("en");
}

TEST_P(Course, IsWrittenInEveryLanguage) {
    const BuiltinExercise& builtin = BuiltinExercises()[GetParam()];
    Exercise ex;
    ExerciseError error;
    ASSERT_TRUE(ParseExercise(builtin.bytes, builtin.name, ex, error));
    for (std::size_t l = 0; l < kExerciseLanguages.size(); ++l) {
        EXPECT_EQ(ex.title.languages[l].size(), 1u) << kExerciseLanguages[l];
        EXPECT_EQ(ex.text.languages[l].size(), ex.text.plain.size()) << kExerciseLanguages[l];
        EXPECT_EQ(ex.hints.languages[l].size(), ex.hints.plain.size()) << kExerciseLanguages[l];
    }
    EXPECT_FALSE(ex.hints.plain.empty());
    // The menu reads its title from the title lines alone: the parser's.
    for (const std::string& code : Languages()) {
        ASSERT_TRUE(SetLanguage(code));
        EXPECT_EQ(ExerciseTitle(builtin.bytes), ex.Title()) << code;
    }
    SetLanguage("en");
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, Course, ::testing::Range<std::size_t>(0, std::size(kSolutions)));

// The program carries the course as it is on disk: every exercises/*.bwx,
// once each, in the order of their names.
TEST(CourseOrder, EmbedsEveryLessonOnDisk) {
    std::vector<std::string> disk, built;
    for (const auto& f : std::filesystem::directory_iterator(BITWELL_EXERCISES_DIR))
        if (f.path().extension() == ".bwx") disk.push_back(f.path().filename().string());
    std::sort(disk.begin(), disk.end());
    for (const BuiltinExercise& b : BuiltinExercises()) built.emplace_back(b.name);
    EXPECT_GE(disk.size(), 10u);
    EXPECT_EQ(built, disk);
}

}  // namespace
}  // namespace bitwell
