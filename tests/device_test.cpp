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

}  // namespace
}  // namespace bitwell
