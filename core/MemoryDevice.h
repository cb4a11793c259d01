#pragma once

// The 16-word by 16-bit static memory chip: the stored words, the evaluation
// of the panel into a read cycle, a write cycle or nothing, and power-up.
// All panel state is read from and written to the SignalPanel given at
// construction, which must outlive the device.

#include <array>
#include <string>

#include "core/Listings.h"
#include "core/SignalPanel.h"

namespace bitwell {

// Bit k (0 to 15) of a binary digit string written most significant first:
// 1 when character 16 - k (counting from 1) is "1", else 0. Characters past
// the sixteenth are ignored and missing ones count as 0.
std::array<int, 16> SixteenBits(const std::string& bits);

// What one evaluation did.
enum class Cycle { None, Read, Write };
// Which bytes a cycle moved; None when there was no cycle.
enum class Bytes { None, Both, Upper, Lower };

struct Evaluation {
    Cycle cycle = Cycle::None;
    Bytes bytes = Bytes::None;
    int address = 0;  // the word the cycle touched (0 to 15); 0 without a cycle
};

class MemoryDevice {
public:
    explicit MemoryDevice(SignalPanel& panel);

    // The store; only slots 0 to 15 are used, and hold FFFF until a write.
    WordStore memWords;

    // One evaluation of the current panel: at most one read or write cycle,
    // then the contents listing after a cycle, then the data type listing.
    // Expects the address text to be one digit and the data and read texts
    // four digits, as the panel always holds them. Returns what it did.
    Evaluation UpdateMemory();

    // Power-up: every word FFFF, contents listed, lamps hidden, then WE, CE,
    // OE, LB and UB set to 1 in that order through the panel.
    void Form_Load();

    void UpdateContents();
    void UpdateTypes();

    // How often each procedure has run since construction.
    long updateMemoryRuns() const { return m_memoryRuns; }
    long updateContentsRuns() const { return m_contentsRuns; }
    long updateTypesRuns() const { return m_typesRuns; }

private:
    SignalPanel& m_panel;
    // Where the listings are built, its storage kept from one run to the
    // next: the panel copies a listing only when it changed.
    std::string m_listing;
    long m_memoryRuns = 0;
    long m_contentsRuns = 0;
    long m_typesRuns = 0;
};

}  // namespace bitwell
