#include "core/Trace.h"

#include "core/Catalogue.h"
#include "core/Conversions.h"

namespace bitwell {

std::string_view CauseName(Cause cause) {
    static constexpr std::string_view kNames[] = {
        "CE", "OE", "WE", "LB", "UB", "A0", "A1", "A2", "A3",
        "D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "D9", "D10", "D11", "D12", "D13",
        "D14", "D15", "order"};
    return kNames[static_cast<std::size_t>(cause)];
}

std::string_view CycleName(Cycle cycle) {
    switch (cycle) {
        case Cycle::Read: return "read";
        case Cycle::Write: return "write";
        case Cycle::None: break;
    }
    return "none";
}

std::string_view BytesName(Bytes bytes) {
    switch (bytes) {
        case Bytes::Both: return "both";
        case Bytes::Upper: return "upper";
        case Bytes::Lower: return "lower";
        case Bytes::None: break;
    }
    return "";
}

// Room for every slot at once, so that no step ever moves; the slots
// themselves are made as the trace first fills, not 4,096 at power-up.
Trace::Trace() { m_steps.reserve(kCapacity); }

TraceStep& Trace::Append() {
    // The cleared steps are overwritten from here on.
    m_undoSize = 0;
    if (m_size < kCapacity) {
        const std::size_t at = (m_first + m_size++) % kCapacity;
        if (at == m_steps.size()) m_steps.emplace_back();
        return m_steps[at];
    }
    TraceStep& slot = m_steps[m_first];
    m_first = (m_first + 1) % kCapacity;
    return slot;
}

void Trace::Clear() {
    if (m_size > 0) {
        m_undoFirst = m_first;
        m_undoSize = m_size;
    }
    m_first = 0;
    m_size = 0;
    ++m_clears;
}

void Trace::UndoClear() {
    if (m_undoSize == 0) return;
    m_first = m_undoFirst;
    m_size = m_undoSize;
    m_undoSize = 0;
    ++m_clears;
}

namespace {

std::string Level(const TraceStep& s, Control c) { return s.levels[static_cast<int>(c)] ? "1" : "0"; }

constexpr TraceColumn kColumns[] = {
    {.name = "step", .header = [] { return Tr("timing", "Step"); },
     .field = [](const TraceStep& s) { return std::to_string(s.step); }},
    {.name = "action", .header = [] { return Tr("timing", "Action"); },
     .field = [](const TraceStep& s) { return std::to_string(s.action); }},
    {.name = "cause", .header = [] { return Tr("timing", "Cause"); },
     .field = [](const TraceStep& s) { return std::string(CauseName(s.cause)); }},
    {.name = "CE", .field = [](const TraceStep& s) { return Level(s, Control::CE); }},
    {.name = "OE", .field = [](const TraceStep& s) { return Level(s, Control::OE); }},
    {.name = "WE", .field = [](const TraceStep& s) { return Level(s, Control::WE); }},
    {.name = "LB", .field = [](const TraceStep& s) { return Level(s, Control::LB); }},
    {.name = "UB", .field = [](const TraceStep& s) { return Level(s, Control::UB); }},
    {.name = "A", .field = [](const TraceStep& s) { return s.address; }},
    {.name = "D", .field = [](const TraceStep& s) { return s.data; }},
    {.name = "Q", .field = [](const TraceStep& s) { return s.read; }},
    {.name = "cycle", .header = [] { return Tr("timing", "Cycle"); },
     .field = [](const TraceStep& s) { return std::string(CycleName(s.cycle)); }},
    {.name = "bytes", .header = [] { return Tr("timing", "Bytes"); },
     .field = [](const TraceStep& s) { return std::string(BytesName(s.bytes)); }},
    {.name = "word", .header = [] { return Tr("timing", "Stored word"); },
     .field = [](const TraceStep& s) { return s.word; }},
};

}  // namespace

std::span<const TraceColumn> TraceColumns() { return kColumns; }

std::string TraceColumnHeader(const TraceColumn& c) { return c.header ? c.header() : std::string(c.name); }

std::string Trace::CsvLine(const TraceStep& s) {
    std::string line;
    for (const TraceColumn& c : kColumns) {
        if (&c != kColumns) line += ',';
        line += c.field(s);
    }
    line += '\n';
    return line;
}

std::string Trace::Csv() const {
    std::string csv;
    for (const TraceColumn& c : kColumns) (csv += c.name) += ',';
    csv.back() = '\n';
    csv.reserve(csv.size() + m_size * 48);
    for (std::size_t i = 0; i < m_size; ++i) csv += CsvLine((*this)[i]);
    return csv;
}

std::string Trace::DescribeCycle(const TraceStep& s) {
    const std::string_view a = s.address;
    switch (s.cycle) {
        case Cycle::Write:
            switch (s.bytes) {
                case Bytes::Upper: return Arg(Tr("timing", "write %1 to address %2, upper byte"), {s.word, a});
                case Bytes::Lower: return Arg(Tr("timing", "write %1 to address %2, lower byte"), {s.word, a});
                default: return Arg(Tr("timing", "write %1 to address %2, both bytes"), {s.word, a});
            }
        case Cycle::Read:
            switch (s.bytes) {
                case Bytes::Upper: return Arg(Tr("timing", "read %1 from address %2, upper byte"), {s.read, a});
                case Bytes::Lower: return Arg(Tr("timing", "read %1 from address %2, lower byte"), {s.read, a});
                default: return Arg(Tr("timing", "read %1 from address %2, both bytes"), {s.read, a});
            }
        case Cycle::None: break;
    }
    return Tr("timing", "no cycle");
}

std::string Trace::DescribeCause(const TraceStep& s) {
    const auto c = static_cast<int>(s.cause);
    const std::string_view name = CauseName(s.cause);
    if (s.cause == Cause::Order) return Tr("timing", "word order chosen");
    int level = 0;
    if (c <= static_cast<int>(Cause::UB)) {
        return s.levels[c] ? Arg(Tr("timing", "%1 changed to HIGH"), {name})
                           : Arg(Tr("timing", "%1 changed to LOW"), {name});
    }
    // A bit's new position, read from the panel's text after the step.
    if (c <= static_cast<int>(Cause::A3))
        level = (static_cast<std::uint16_t>(HexToInt(s.address)) >> (c - static_cast<int>(Cause::A0))) & 1;
    else
        level = (static_cast<std::uint16_t>(HexToInt(s.data)) >> (c - static_cast<int>(Cause::D0))) & 1;
    return level ? Arg(Tr("timing", "%1 changed to 1"), {name}) : Arg(Tr("timing", "%1 changed to 0"), {name});
}

std::string Trace::Describe(const TraceStep& s) {
    return Arg(Tr("timing", "Step %1, action %2: %3 (%4)"),
               {std::to_string(s.step), std::to_string(s.action), DescribeCycle(s), DescribeCause(s)});
}

}  // namespace bitwell
