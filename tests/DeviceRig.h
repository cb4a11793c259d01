#pragma once

#include <ostream>
#include <string>

#include "core/MemoryDevice.h"
#include "core/PanelRecord.h"

namespace bitwell::test {

// A powered device on a plain record, wired as the window wires it.
struct DeviceRig {
    PanelRecord panel;
    MemoryDevice device{panel};

    explicit DeviceRig(bool powerUp = true) {
        panel.onLevelChange = [this] { device.UpdateMemory(); };
        if (powerUp) device.Form_Load();
    }

    // Sets all five levels without evaluating, then evaluates once.
    void evaluate(int ce, int oe, int we, int lb, int ub) {
        panel.levels = {ce, oe, we, lb, ub};
        device.UpdateMemory();
    }
};

}  // namespace bitwell::test

namespace bitwell {
namespace {

// Names a parameter row by its tag in test listings. It stands in the
// unnamed namespace where each test file declares its rows, so that
// GoogleTest finds it next to them.
template <class T>
    requires requires(const T& row) { row.tag; }
void PrintTo(const T& row, std::ostream* os) { *os << row.tag; }

}  // namespace
}  // namespace bitwell
