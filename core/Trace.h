#pragma once

// The chip's history: one step per evaluation, for the timing diagram and its
// exports. Steps are kept oldest first up to a fixed capacity; older ones are
// dropped. Step numbers are given by the caller and keep counting across
// Clear().

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/MemoryDevice.h"

namespace bitwell {

// The control whose change ran an evaluation: the five levels (in the order
// of Control), the address bits, the data bits, or the word-order choice.
enum class Cause : std::uint8_t {
    CE, OE, WE, LB, UB,
    A0, A1, A2, A3,
    D0, D1, D2, D3, D4, D5, D6, D7, D8, D9, D10, D11, D12, D13, D14, D15,
    Order,
};

// "CE" … "UB", "A0" … "A3", "D0" … "D15", "order".
std::string_view CauseName(Cause cause);
// "read", "write", "none".
std::string_view CycleName(Cycle cycle);
// "both", "upper", "lower", or "" for no cycle.
std::string_view BytesName(Bytes bytes);

struct TraceStep {
    std::uint64_t step = 0;    // 1 for the first evaluation ever
    std::uint64_t action = 0;  // 0 for power-up, then one per outside change
    Cause cause = Cause::CE;
    int levels[5] = {};        // CE, OE, WE, LB, UB: 0 LOW, 1 HIGH
    std::string address;       // the panel's texts after the step, as shown
    std::string data;
    std::string read;
    Cycle cycle = Cycle::None;
    Bytes bytes = Bytes::None;
    std::string word;          // the stored word at the address after the step
};

// One column of the CSV, which is also one of the step table's: its name
// heads the CSV, the same in every language; `header` gives the table's
// header text in the current language, none for a pin, whose name it is.
struct TraceColumn {
    std::string_view name;
    std::string (*header)() = nullptr;
    std::string (*field)(const TraceStep& s) = nullptr;
};
// step, action, cause, CE, OE, WE, LB, UB, A, D, Q, cycle, bytes, word.
std::span<const TraceColumn> TraceColumns();
// The step table's header text of `c`: its header, or its name.
std::string TraceColumnHeader(const TraceColumn& c);

class Trace {
public:
    static constexpr std::size_t kCapacity = 4096;

    Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // A slot for the newest step, reusing the oldest one once full. The
    // caller fills every field.
    TraceStep& Append();
    // Empties the trace; UndoClear() brings the cleared steps back, as long
    // as no step has been appended since (CanUndoClear()).
    void Clear();
    bool CanUndoClear() const { return m_undoSize > 0; }
    void UndoClear();
    // Counts Clear() and UndoClear() calls: a view that remembers it knows
    // when the steps it showed are no longer the ones kept.
    std::uint64_t Clears() const { return m_clears; }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // 0 is the oldest kept step; i must be below size() (never checked).
    const TraceStep& operator[](std::size_t i) const {
        return m_steps[(m_first + i) % kCapacity];
    }
    const TraceStep& back() const { return (*this)[m_size - 1]; }

    // The header line (the columns' names) and one line per kept step
    // (their fields), oldest first, each ending in "\n".
    std::string Csv() const;
    static std::string CsvLine(const TraceStep& s);

    // One sentence in the current language: "Step 17, action 9: write 12AB
    // to address 5, both bytes (D3 changed to 1)"; a control's cause says
    // LOW or HIGH ("(OE changed to LOW)").
    static std::string Describe(const TraceStep& s);
    // What the step did, without its numbers and its cause: "write BEEF to
    // address 5, both bytes", "read BEEF from address 5, upper byte", "no
    // cycle".
    static std::string DescribeCycle(const TraceStep& s);
    // What moved, with its new position: "D3 changed to 1", "OE changed to
    // LOW", "word order chosen".
    static std::string DescribeCause(const TraceStep& s);

private:
    std::vector<TraceStep> m_steps;
    std::size_t m_first = 0;
    std::size_t m_size = 0;
    std::size_t m_undoFirst = 0;
    std::size_t m_undoSize = 0;
    std::uint64_t m_clears = 0;
};

}  // namespace bitwell
