// The built-in course, lesson by lesson: the way the lesson teaches
// finishes it, and the mistake it warns about never does, in every language.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Catalogue.h"
#include "core/Exercise.h"
#include "core/Panel.h"
#include "core/WindowDescription.h"

namespace bitwell {
namespace {

struct Path {
    std::string lesson;
    // One action per word: "CE=0", "A3=1", "D8=1", "D=BEEF" (a typed
    // word), "order=little", "copy" (the read word to the data input).
    std::string actions;
    bool done = false;
};

void PrintTo(const Path& p, std::ostream* os) { *os << p.lesson << (p.done ? " right: " : " wrong: ") << p.actions; }

// Read from tests/lesson_paths.txt, which the page's test plays too.
std::vector<Path> ReadPaths() {
    std::vector<Path> paths;
    std::ifstream in(BITWELL_LESSON_PATHS);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        const auto bar = line.find('|'), bar2 = line.find('|', bar + 1);
        if (bar2 == std::string::npos) continue;
        std::istringstream lesson(line.substr(0, bar)), done(line.substr(bar + 1, bar2 - bar - 1));
        Path p;
        std::string word;
        lesson >> p.lesson;
        done >> word;
        p.done = word == "done";
        p.actions = line.substr(bar2 + 1);
        paths.push_back(p);
    }
    return paths;
}
const std::vector<Path> kPaths = ReadPaths();

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
    EXPECT_GE(kPaths.size(), 34u);
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

// A caption as its menu shows it: no "&", no trailing "...".
std::string Shown(std::string caption) {
    std::erase(caption, '&');
    if (caption.ends_with("...")) caption.resize(caption.size() - 3);
    return caption;
}

// Each "Menu ▸ Item" a lesson's text or hint quotes is a menu and its item as
// the menus are captioned in that language.
class LessonMenus : public ::testing::TestWithParam<std::string> {};

TEST_P(LessonMenus, NamedAsTheMenusSayThem) {
    ASSERT_TRUE(SetLanguage(GetParam()));
    const std::string arrow = " ▸ ";
    int quoted = 0;
    for (const BuiltinExercise& b : BuiltinExercises()) {
        Exercise ex;
        ExerciseError error;
        ASSERT_TRUE(ParseExercise(b.bytes, b.name, ex, error));
        std::vector<std::string> lines = ex.text.In(GetParam());
        for (const std::string& hint : ex.hints.In(GetParam())) lines.push_back(hint);
        for (const std::string& line : lines) {
            for (auto at = line.find(arrow); at != std::string::npos; at = line.find(arrow, at + 1), ++quoted) {
                const auto word = line.rfind(' ', at - 1) + 1;  // 0 where the line starts with it
                const std::string menuName = line.substr(word, at - word);
                const std::string rest = line.substr(at + arrow.size());
                const auto& menus = MainWindowMenus();
                const auto menu = std::find_if(menus.begin(), menus.end(),
                                               [&](auto& m) { return Shown(Text(m.caption)) == menuName; });
                ASSERT_NE(menu, menus.end()) << b.name << ": no menu " << menuName << " in: " << line;
                const bool item = std::any_of(menu->items.begin(), menu->items.end(), [&](auto& i) {
                    const std::string shown = Shown(MenuText(i));
                    return rest.starts_with(shown) &&
                           (rest.size() == shown.size() || std::string_view(" .,;:").find(rest[shown.size()]) != std::string::npos);
                });
                EXPECT_TRUE(item) << b.name << ": no such item in " << menuName << ": " << line;
            }
        }
    }
    EXPECT_GT(quoted, 0);
    SetLanguage("en");
}

INSTANTIATE_TEST_SUITE_P(Course, LessonMenus, ::testing::ValuesIn(Languages()));

}  // namespace
}  // namespace bitwell
