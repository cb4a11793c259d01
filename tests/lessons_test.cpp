// The built-in course, lesson by lesson: the way the lesson teaches
// finishes it, and the mistake it warns about never does, in every language.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/Panel.h"

namespace bitwell {
namespace {

struct Path {
    const char* lesson;
    // One action per word: "CE=0", "A3=1", "D8=1", "D=BEEF" (a typed
    // word), "order=little", "copy" (the read word to the data input).
    const char* actions;
    bool done;
};

void PrintTo(const Path& p, std::ostream* os) { *os << p.lesson << (p.done ? " right: " : " wrong: ") << p.actions; }

const Path kPaths[] = {
    {"01-read.bwx", "A0=1 A1=1 UB=0 LB=0 OE=0 CE=0", true},
    {"01-read.bwx", "A0=1 A1=1 UB=0 LB=0 CE=0", false},  // OE left HIGH
    {"02-write-word.bwx", "A0=1 A2=1 D=BEEF LB=0 UB=0 CE=0 WE=0", true},
    {"02-write-word.bwx", "A0=1 A2=1 LB=0 UB=0 CE=0 WE=0 D=BEEF", false},  // typed during the write
    {"03-write-upper.bwx", "D=AB00 UB=0 CE=0 WE=0", true},
    {"03-write-upper.bwx", "UB=0 CE=0 WE=0 A0=1 A0=0 D=AB00", false},  // word 3's upper byte too
    {"03-write-upper.bwx", "D=AB00 LB=0 UB=0 CE=0 WE=0", false},
    {"04-read-lower.bwx", "A0=1 A1=1 LB=0 OE=0 CE=0", true},
    {"04-read-lower.bwx", "A0=1 A1=1 LB=0 UB=0 OE=0 CE=0", false},
    {"05-ce-high.bwx", "A3=1 A2=0 A1=0 A0=1", true},
    {"05-ce-high.bwx", "CE=0 A3=1 A2=0 A1=0 A0=1", false},
    {"06-write-on-the-way.bwx", "WE=1 A3=1 A0=1 D=4321 WE=0", true},
    {"06-write-on-the-way.bwx", "A3=1 A0=1 D=4321", false},  // WE held LOW on the way
    {"07-signed.bwx", "D=FFFE LB=0 UB=0 CE=0 WE=0", true},
    {"07-signed.bwx", "A3=0 A2=0 A1=0 D=FFFE LB=0 UB=0 CE=0 WE=0 WE=1 A0=0", false},  // word 1, seen from 0
    {"08-word-order.bwx", "order=little D=0001 LB=0 UB=0 CE=0 WE=0", true},
    {"08-word-order.bwx", "A0=1 D=0001 LB=0 UB=0 CE=0 WE=0 WE=1 A0=0 order=little", false},
    {"09-float-one.bwx", "D=3F80 LB=0 UB=0 CE=0 WE=0", true},
    {"09-float-one.bwx", "A0=1 D=3F80 LB=0 UB=0 CE=0 WE=0 WE=1 A0=0", false},
    {"10-float-minus-zero.bwx", "A0=1 D=8000 LB=0 UB=0 CE=0 WE=0 WE=1", true},
    {"10-float-minus-zero.bwx", "D=8000 LB=0 UB=0 CE=0 WE=0", false},  // the big-endian place
    {"11-output-enable.bwx", "OE=0", true},
    {"11-output-enable.bwx", "WE=0 OE=0", false},  // the write wins
    {"12-end-the-cycle.bwx", "LB=0 UB=0 CE=0 WE=0 WE=1 A0=1", true},
    {"12-end-the-cycle.bwx", "LB=0 UB=0 CE=0 WE=0 A0=1 WE=1", false},  // moved during the write
    {"12-end-the-cycle.bwx", "LB=0 UB=0 CE=0 WE=0 CE=1 A0=1", false},  // WE left LOW
    {"13-read-modify-write.bwx", "LB=0 UB=0 OE=0 CE=0 copy D8=1 OE=1 WE=0 WE=1", true},
    {"13-read-modify-write.bwx", "D=13C4 LB=0 UB=0 CE=0 WE=0 WE=1 OE=0", false},  // written, then read
    {"14-fill-a-block.bwx", "WE=0 WE=1 A0=1 WE=0 WE=1 A1=1 A0=0 WE=0 WE=1 A0=1 WE=0 WE=1", true},
    {"14-fill-a-block.bwx", "WE=0 A0=1 A1=1 A0=0 WE=1", false},  // the address moved during the write
    {"15-float-fraction.bwx", "order=little A0=1 D=C020 LB=0 UB=0 CE=0 WE=0 WE=1", true},
    {"15-float-fraction.bwx", "order=little D=C020 LB=0 UB=0 CE=0 WE=0 WE=1", false},
    {"16-integer-nan-infinity.bwx",
     "A0=1 D=FFFE LB=0 UB=0 CE=0 WE=0 WE=1 A1=1 A0=0 D=7F80 WE=0 WE=1 A0=1 D=0000 WE=0 WE=1 "
     "A2=1 A1=0 A0=0 D=7FC0 WE=0 WE=1",
     true},
    {"16-integer-nan-infinity.bwx",  // word 3 left FFFF: NaN, not Infinity
     "A0=1 D=FFFE LB=0 UB=0 CE=0 WE=0 WE=1 A1=1 A0=0 D=7F80 WE=0 WE=1 A2=1 A1=0 D=7FC0 WE=0 WE=1", false},
};

void Act(Panel& panel, const std::string& step) {
    const auto eq = step.find('=');
    const std::string what = step.substr(0, eq), value = eq == std::string::npos ? "" : step.substr(eq + 1);
    static const char* const kControls[] = {"CE", "OE", "WE", "LB", "UB"};
    for (int c = 0; c < 5; ++c)
        if (what == kControls[c]) return panel.MoveLevel(static_cast<Control>(c), value == "1");
    std::vector<TypedCharacter> word;
    for (const char c : value) word.push_back({std::u16string(1, static_cast<char16_t>(c))});
    if (what == "copy") panel.CopyReadToData();
    else if (what == "order") panel.ChooseOrder(value == "big");
    else if (what == "D") panel.EnterTypedWord(word);
    else if (what[0] == 'A') panel.MoveAddressBit(std::stoi(what.substr(1)), value == "1");
    else if (what[0] == 'D') panel.MoveDataBit(std::stoi(what.substr(1)), value == "1");
    else ADD_FAILURE() << "unknown step " << step;
}

class Lessons : public ::testing::TestWithParam<Path> {};

TEST_P(Lessons, FinishOnlyTheWayTheyTeach) {
    const Path& path = GetParam();
    const auto& course = BuiltinExercises();
    const auto lesson = std::find_if(course.begin(), course.end(), [&](auto& b) { return b.name == path.lesson; });
    ASSERT_NE(lesson, course.end());
    for (const std::string& code : Languages()) {
        ASSERT_TRUE(SetLanguage(code));
        Panel panel;
        panel.Form_Load();
        ExerciseSession session(panel);
        ExerciseError error;
        ASSERT_TRUE(session.Open(lesson->bytes, lesson->name, error)) << error.Text(lesson->name);
        std::istringstream in(path.actions);
        for (std::string step; in >> step;) Act(panel, step);
        std::string goals;
        for (const auto& item : session.Goals()) goals += (item.holds ? "+ " : "- ") + item.text + "\n";
        EXPECT_EQ(session.done(), path.done) << code << "\n" << goals;
    }
    SetLanguage("en");
}

INSTANTIATE_TEST_SUITE_P(Course, Lessons, ::testing::ValuesIn(kPaths));

// Every lesson has a right and a wrong path above, passes the checker a
// teacher's file goes through, and says all it says in every language.
TEST(Lessons, EachHasBothPathsAndEveryLanguage) {
    EXPECT_GE(BuiltinExercises().size(), 16u);
    for (const BuiltinExercise& b : BuiltinExercises()) {
        int right = 0, wrong = 0;
        for (const Path& p : kPaths)
            if (b.name == p.lesson) ++(p.done ? right : wrong);
        EXPECT_TRUE(right > 0 && wrong > 0) << b.name;
        Exercise ex;
        std::vector<ExerciseError> problems;
        ASSERT_TRUE(CheckExercise(b.bytes, b.name, ex, problems)) << ProblemsText(problems);
        for (std::size_t l = 0; l < kExerciseLanguages.size(); ++l) {
            bool whole = ex.title.languages[l].size() == 1 && ex.text.languages[l].size() == ex.text.plain.size() &&
                         ex.hints.languages[l].size() == ex.hints.plain.size();
            for (const Goal& g : ex.goals) whole = whole && g.whyIn[l].empty() == g.why.empty();
            EXPECT_TRUE(whole) << b.name << " in " << kExerciseLanguages[l];
        }
    }
}

}  // namespace
}  // namespace bitwell
