// Attempt files as a front end writes them: every kind of action read back
// as written, and a learner's name kept to its one line.

#include <gtest/gtest.h>

#include "core/Attempt.h"

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

}  // namespace
