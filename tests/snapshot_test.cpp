// The resume snapshot: a half-done exercise resumed on a fresh panel goes on
// exactly as the first; a snapshot that does not fit starts it afresh.

#include <gtest/gtest.h>

#include <functional>

#include "core/Exercise.h"
#include "core/Panel.h"
#include "core/Snapshot.h"

namespace {

using bitwell::Control;

const std::string kExercise =
    "title: T\ntext: X\nhint: h1\nhint: h2\ngiven memory 4 = 1234\ngiven address = 4\n"
    "goal memory 5 = BEEF\ngoal count write = 1\ngoal never write at 0-3\n"
    "goal then read at 4 = 1234\ngoal then write at 5 = BEEF\n";

// Half a solve: a read of word 4, a hint, the order clicked, data typed.
void HalfSolve(bitwell::Panel& panel, bitwell::ExerciseSession& session) {
    for (const Control c : {Control::LB, Control::UB, Control::OE, Control::CE}) panel.MoveLevel(c, 0);
    panel.MoveLevel(Control::CE, 1);
    session.NextHint();
    panel.ChooseOrder(false);
    panel.EditDataText("BEEF");
    panel.MoveAddressBit(0, 1);
}
// The rest: a write of word 5.
void FinishSolve(bitwell::Panel& panel) {
    panel.MoveLevel(Control::OE, 1);
    panel.MoveLevel(Control::WE, 0);
    panel.MoveLevel(Control::CE, 0);
}

struct Row {
    const char* name;
    std::function<std::string(const std::string&)> change;  // the stored snapshot as the site hands it back
    std::string exercise;                                   // the exercise it is resumed in
    bool fits;
};

class Snapshot : public testing::TestWithParam<Row> {};

TEST_P(Snapshot, ResumesExactlyOrAfresh) {
    const Row& row = GetParam();
    bitwell::Panel first, second;
    first.Form_Load();
    second.Form_Load();
    bitwell::ExerciseSession a(first), b(second);
    bitwell::ExerciseError error;
    ASSERT_TRUE(a.Open(kExercise, "t.bwx", error)) << error.Text();
    ASSERT_TRUE(b.Open(row.exercise, "t.bwx", error)) << error.Text();
    HalfSolve(first, a);
    const std::string stored = bitwell::WriteSnapshot(a, kExercise);
    ASSERT_LE(stored.size(), bitwell::kSnapshotMaxCharacters);
    b.NextHint();  // what a resume replaces, or a fresh start clears
    second.MoveLevel(Control::OE, 0);
    EXPECT_EQ(bitwell::ResumeSnapshot(b, row.exercise, row.change(stored)), row.fits);
    if (!row.fits) {
        EXPECT_EQ(b.actions(), 0u);
        EXPECT_TRUE(b.ShownHints().empty());
        return;
    }
    EXPECT_EQ(bitwell::WriteSnapshot(b, kExercise), stored);
    EXPECT_TRUE(second.trace().empty());
    FinishSolve(first);
    FinishSolve(second);
    EXPECT_EQ(bitwell::WriteSnapshot(b, kExercise), bitwell::WriteSnapshot(a, kExercise));
    EXPECT_TRUE(a.done());
    EXPECT_EQ(b.DoneText(), a.DoneText());
    for (std::size_t i = 0; i < a.Goals().size(); ++i) EXPECT_EQ(b.Goals()[i].text, a.Goals()[i].text);
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    const std::size_t at = s.find(from);
    return at == std::string::npos ? "missing " + from : s.replace(at, from.size(), to);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Snapshot,
    testing::Values(Row{"RoundTrip", [](const std::string& s) { return s; }, kExercise, true},
                    Row{"OtherExercise", [](const std::string& s) { return s; }, kExercise + "# another\n", false},
                    Row{"OtherVersion", [](const std::string& s) { return Replace(s, "B1;", "B2;"); }, kExercise, false},
                    Row{"FieldMissing", [](const std::string& s) { return Replace(s, ";H=1", ""); }, kExercise, false},
                    Row{"MoreHintsThanTheFile", [](const std::string& s) { return Replace(s, ";H=1", ";H=3"); }, kExercise, false},
                    Row{"StateOfAGoalWithNone", [](const std::string& s) { return Replace(s, ";G=", ";G=0:1."); }, kExercise, false},
                    Row{"LaterThenBeforeEarlier", [](const std::string& s) { return Replace(s, ";G=3:", ";G=4:"); }, kExercise, false},
                    Row{"TooLong", [](const std::string& s) { return s + std::string(4096, '0'); }, kExercise, false}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
