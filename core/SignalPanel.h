#pragma once

// What the memory device needs of the panel that holds its state. Panel
// implements it for every front end; PanelRecord implements it as plain data
// for the device's own tests.

#include <cstddef>
#include <string>

namespace bitwell {

// The five control inputs, each active when LOW (0).
enum class Control { CE, OE, WE, LB, UB };
// How many there are: a table with one entry per control is this long.
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::UB) + 1;

class SignalPanel {
public:
    virtual ~SignalPanel() = default;

    // Level of a control switch: 0 (LOW, active) or 1 (HIGH).
    virtual int level(Control c) const = 0;
    // Start-up only. Setting a different level must run the device
    // evaluation before returning; setting the same level does nothing.
    virtual void setLevel(Control c, int value) = 0;

    // One hexadecimal digit, "0" to "F".
    virtual std::string addressText() const = 0;
    // Four upper-case hexadecimal digits: the word offered for writing.
    virtual std::string dataText() const = 0;
    // Four upper-case hexadecimal digits: the word last read.
    virtual std::string readText() const = 0;
    // Sets the read register; the read lamps follow before it returns.
    virtual void setReadText(const std::string& text) = 0;

    virtual std::string contentsText() const = 0;
    virtual void setContentsText(const std::string& text) = 0;
    virtual void setTypesText(const std::string& text) = 0;
    // True when the big-endian word order is selected.
    virtual bool bigEndian() const = 0;

    // Shows or hides the read lamp of bit 0 to 15; never checked.
    virtual void setReadLampVisible(int bit, bool visible) = 0;
};

}  // namespace bitwell
