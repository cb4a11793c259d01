#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/Conversions.h"
#include "core/Panel.h"
#include "tests/DeviceRig.h"
#include "tests/ReferenceChip.h"

namespace bitwell {
namespace {

using test::DeviceRig;
using test::Make;
using test::Move;
using test::PickMove;
using test::ReferenceChip;

// Copies the model's state into a powered rig without evaluating.
void Load(DeviceRig& rig, const ReferenceChip& ref) {
    for (unsigned i = 0; i < 16; ++i) rig.device.memWords[i] = ReferenceChip::hex(ref.words[i], 4);
    rig.panel.setReadText(ReferenceChip::hex(ref.read, 4));
    rig.panel.data = ReferenceChip::hex(ref.data, 4);
    rig.panel.address = ReferenceChip::hex(ref.address, 1);
    rig.panel.big = ref.big;
    for (int c = 0; c < 5; ++c) rig.panel.levels[c] = (ref.levels >> c) & 1;
}

::testing::AssertionResult Agree(const DeviceRig& rig, const ReferenceChip& ref) {
    if (rig.panel.read != ReferenceChip::hex(ref.read, 4))
        return ::testing::AssertionFailure() << "read " << rig.panel.read;
    for (unsigned i = 0; i < 16; ++i)
        if (rig.device.memWords[i] != ReferenceChip::hex(ref.words[i], 4))
            return ::testing::AssertionFailure() << "word " << i << " " << rig.device.memWords[i];
    for (int k = 0; k < 16; ++k)
        if (rig.panel.lamps[k] != (((ref.read >> k) & 1) == 1))
            return ::testing::AssertionFailure() << "lamp " << k;
    if (rig.panel.contents != ref.contents())
        return ::testing::AssertionFailure() << "contents\n" << rig.panel.contents;
    if (rig.panel.types != ref.types())
        return ::testing::AssertionFailure() << "types\n" << rig.panel.types << "\nwanted\n"
                                             << ref.types();
    return ::testing::AssertionSuccess();
}

TEST(ReferenceModel, EveryLevelCombinationAgrees) {
    for (unsigned levels = 0; levels < 32; ++levels)
        for (const unsigned address : {0u, 5u, 14u, 15u})
            for (const std::uint16_t data : {0x0000, 0x5566, 0xFFFF, 0xA5C3})
                for (const bool big : {true, false}) {
                    ReferenceChip ref;
                    for (unsigned i = 0; i < 16; ++i)
                        ref.words[i] = static_cast<std::uint16_t>(0x1111 * i ^ 0x0F0F);
                    ref.read = 0x3C96;
                    ref.data = data;
                    ref.address = address;
                    ref.levels = levels;
                    ref.big = big;
                    DeviceRig rig;
                    Load(rig, ref);
                    rig.device.UpdateContents();
                    rig.device.UpdateMemory();
                    ref.evaluate();
                    ASSERT_TRUE(Agree(rig, ref)) << "levels " << levels << " address " << address
                                                 << " data " << data << " big " << big;
                }
}

TEST(ReferenceModel, RandomPanelChangesAgree) {
    const unsigned seed = 20261208;
    std::mt19937 rng(seed);
    DeviceRig rig;
    ReferenceChip ref = ReferenceChip::PoweredUp();
    ASSERT_TRUE(Agree(rig, ref));

    for (int step = 0; step < 120000; ++step) {
        const Move m = PickMove(rng);
        const int v = Make(ref, m);
        if (m.kind == Move::Level) {  // weighted so cycles happen often
            rig.panel.setLevel(static_cast<Control>(m.index), v);
        } else if (m.kind == Move::Address) {
            std::string bin;
            for (int k = 3; k >= 0; --k) bin += ((ref.address >> k) & 1) ? '1' : '0';
            rig.panel.address = BinToHex(bin);
            rig.device.UpdateMemory();
        } else if (m.kind == Move::Data) {
            std::string bin;
            for (int k = 15; k >= 0; --k) bin += ((ref.data >> k) & 1) ? '1' : '0';
            rig.panel.data = BinToHex(bin);
            rig.device.UpdateMemory();
        } else {
            rig.panel.big = ref.big;
            rig.device.UpdateMemory();
        }
        ref.evaluate();
        ASSERT_TRUE(Agree(rig, ref)) << "seed " << seed << " step " << step;
    }
}

// The shared panel driven as a student drives it, one switch or option at a
// time: after every action its texts, lamps and listings agree with the
// model, and so does every step the action added to the trace.
TEST(ReferenceModel, PanelAndItsTraceAgreeStepByStep) {
    const unsigned seed = 4242;
    std::mt19937 rng(seed);
    Panel panel;
    panel.Form_Load();
    ReferenceChip ref = ReferenceChip::PoweredUp();
    std::uint64_t lastStep = panel.trace().back().step;
    std::uint64_t lastAction = 0;

    for (int n = 0; n < 30000; ++n) {
        const Move m = PickMove(rng);
        const int v = Make(ref, m);
        Cause cause;
        switch (m.kind) {
            case Move::Level:
                cause = static_cast<Cause>(m.index);
                panel.MoveLevel(static_cast<Control>(m.index), v);
                break;
            case Move::Address:
                cause = static_cast<Cause>(static_cast<int>(Cause::A0) + m.index);
                panel.MoveAddressBit(m.index, v);
                break;
            case Move::Data:
                cause = static_cast<Cause>(static_cast<int>(Cause::D0) + m.index);
                panel.MoveDataBit(m.index, v);
                break;
            default:
                cause = Cause::Order;
                panel.ChooseOrder(ref.big);
        }
        const ReferenceChip::Done done = ref.evaluate();

        ASSERT_EQ(panel.trace().back().step, lastStep + 1) << "seed " << seed << " action " << n;
        const TraceStep& s = panel.trace().back();
        lastStep = s.step;
        ASSERT_EQ(s.action, ++lastAction);
        ASSERT_EQ(s.cause, cause);
        ASSERT_EQ(static_cast<int>(s.cycle), static_cast<int>(done.kind)) << "action " << n;
        const Bytes bytes = done.mask == 0xFFFF ? Bytes::Both
                            : done.mask == 0xFF00 ? Bytes::Upper
                            : done.mask == 0x00FF ? Bytes::Lower
                                                  : Bytes::None;
        ASSERT_EQ(s.bytes, bytes) << "action " << n;
        ASSERT_EQ(s.word, ReferenceChip::hex(ref.words[ref.address], 4));
        ASSERT_EQ(s.read, ReferenceChip::hex(ref.read, 4));
        ASSERT_EQ(s.data, ReferenceChip::hex(ref.data, 4));
        ASSERT_EQ(s.address, ReferenceChip::hex(ref.address, 1));
        for (int c = 0; c < 5; ++c) ASSERT_EQ(s.levels[c], static_cast<int>((ref.levels >> c) & 1));

        ASSERT_EQ(panel.readText(), ReferenceChip::hex(ref.read, 4));
        for (int k = 0; k < 16; ++k) ASSERT_EQ(panel.lamp(k), ((ref.read >> k) & 1) == 1);
        ASSERT_EQ(panel.contentsText(), ref.contents());
        ASSERT_EQ(panel.typesText(), ref.types()) << "seed " << seed << " action " << n;
    }
}

}  // namespace
}  // namespace bitwell
