#pragma once

// A SignalPanel held as plain data, for running the device without a window.
// Like the window it runs the evaluation when a control level really changes
// and redraws the lamps whenever the read text is set.

#include <array>
#include <functional>
#include <string>

#include "core/SignalPanel.h"

namespace bitwell {

class PanelRecord final : public SignalPanel {
public:
    // Run after a control level really changes (normally the device's
    // UpdateMemory). May be empty.
    std::function<void()> onLevelChange;

    // Index with static_cast<int>(Control).
    std::array<int, 5> levels{};
    std::string address = "0";
    std::string data = "0000";
    std::string read = "0000";
    std::array<bool, 16> lamps{true, true, true, true, true, true, true, true,
                               true, true, true, true, true, true, true, true};
    std::string contents;
    std::string types;
    bool big = true;

    int level(Control c) const override { return levels[static_cast<std::size_t>(c)]; }
    void setLevel(Control c, int value) override;
    std::string addressText() const override { return address; }
    std::string dataText() const override { return data; }
    std::string readText() const override { return read; }
    void setReadText(const std::string& text) override;
    std::string contentsText() const override { return contents; }
    void setContentsText(const std::string& text) override { contents = text; }
    void setTypesText(const std::string& text) override { types = text; }
    bool bigEndian() const override { return big; }
    void setReadLampVisible(int bit, bool visible) override {
        lamps[static_cast<std::size_t>(bit)] = visible;
    }
};

}  // namespace bitwell
