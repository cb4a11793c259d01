// Attempt files as a front end writes them: every kind of action read back
// as written, a learner's name kept to its one line, and an attempt
// recorded from the panel's view graded by replay exactly as the live
// session judged it.

#include <gtest/gtest.h>

#include "core/Attempt.h"
#include "core/Panel.h"

namespace {

using bitwell::AttemptAction;
using Kind = AttemptAction::Kind;

TEST(Attempt, WrittenActionsReadBack) {
    bitwell::AttemptRecord record;
    record.Open(std::string("title: T\0\xFF\n", 11));
    const std::vector<AttemptAction> actions{
        {.kind = Kind::Level, .control = bitwell::Control::UB, .value = 1},
        {.kind = Kind::Level, .control = bitwell::Control::CE, .value = 0},
        {.kind = Kind::AddressBit, .bit = 3, .value = 1},
        {.kind = Kind::DataBit, .bit = 15, .value = 0},
        {.kind = Kind::DataBit, .bit = 0, .value = 1},
        {.kind = Kind::Data, .value = 0x0A0B},
        {.kind = Kind::Order, .bigEndian = false},
        {.kind = Kind::Order, .bigEndian = true},
        {.kind = Kind::Restart},
    };
    for (const AttemptAction& a : actions) record.Add(a);
    const std::string file = record.Write("Zoë\nvan Dijk\r");
    EXPECT_NE(file.find("\nUB 1\nCE 0\nA3 1\nD15 0\nD0 1\ndata 0A0B\norder little\norder big\nrestart\n"),
              std::string::npos);

    bitwell::Attempt read;
    bitwell::ExerciseError error;
    ASSERT_TRUE(bitwell::ReadAttempt(file, read, error)) << error.Text();
    EXPECT_EQ(read.learner, "Zoë van Dijk ");
    EXPECT_EQ(read.exercise, std::string("title: T\0\xFF\n", 11));
    ASSERT_EQ(read.actions.size(), actions.size());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(read.actions[i].kind, actions[i].kind) << i;
        EXPECT_EQ(read.actions[i].control, actions[i].control) << i;
        EXPECT_EQ(read.actions[i].bit, actions[i].bit) << i;
        EXPECT_EQ(read.actions[i].value, actions[i].value) << i;
        EXPECT_EQ(read.actions[i].bigEndian, actions[i].bigEndian) << i;
    }
}

// What a front end's view does for the record.
class RecordingView : public bitwell::PanelView {
public:
    RecordingView(bitwell::Panel& panel, bitwell::AttemptRecord& record) : m_panel(panel), m_record(record) {}
    void stepRecorded(const bitwell::TraceStep& step) override { m_record.Step(step); }
    void actionEnded(const bitwell::TraceStep&) override { m_record.ActionEnded(m_panel); }

private:
    bitwell::Panel& m_panel;
    bitwell::AttemptRecord& m_record;
};

TEST(Attempt, RecordedActionsGradeAsTheSessionJudged) {
    using bitwell::Control;
    // Givens that the panel runs as actions.
    const std::string bytes = "title: T\ntext: X\ngiven address = 2\ngiven data = 1111\n"
                              "goal memory 5 = BEEF\ngoal count write = 1\n";
    bitwell::Panel panel;
    bitwell::AttemptRecord record;
    RecordingView view(panel, record);
    panel.setView(&view);
    panel.Form_Load();
    bitwell::ExerciseSession session(panel);
    bitwell::ExerciseError error;
    record.Starting();
    ASSERT_TRUE(session.Open(bytes, "t.bwx", error)) << error.Text();
    record.Open(bytes);
    // A wrong start, a restart (its givens are not the student's), then a
    // write of a typed word (sixteen switches), one of a single switch, and
    // an order clicked twice.
    panel.MoveLevel(Control::CE, 0);
    panel.EditDataText("1234");
    record.Starting();
    session.Restart();
    record.Restarted();
    for (const int bit : {0, 2}) panel.MoveAddressBit(bit, 1);
    panel.MoveAddressBit(1, 0);
    panel.EditDataText("BEEF");
    panel.EditDataText("BEEE");
    panel.MoveDataBit(0, 1);
    panel.ChooseOrder(false);
    panel.ChooseOrder(false);
    for (const Control c : {Control::LB, Control::UB, Control::CE, Control::WE}) panel.MoveLevel(c, 0);
    ASSERT_TRUE(session.done());

    bitwell::Attempt attempt;
    bitwell::AttemptGrade grade;
    ASSERT_TRUE(bitwell::ReadAttempt(record.Write("Ana"), attempt, error)) << error.Text();
    ASSERT_TRUE(bitwell::GradeAttempt(attempt, grade, error)) << error.Text();
    EXPECT_EQ(attempt.actions.size(), 15u);
    EXPECT_TRUE(grade.done);
    EXPECT_EQ(grade.actions, session.actions());
    EXPECT_EQ(grade.goalsHeld, grade.goals);
    EXPECT_EQ(grade.firstUnmet, 0);
}

}  // namespace
