#include "core/Trace.h"

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

Trace::Trace() { m_steps.resize(kCapacity); }

TraceStep& Trace::Append() {
    if (m_size < kCapacity) return m_steps[(m_first + m_size++) % kCapacity];
    TraceStep& slot = m_steps[m_first];
    m_first = (m_first + 1) % kCapacity;
    return slot;
}

void Trace::Clear() {
    m_first = 0;
    m_size = 0;
}

std::string Trace::CsvLine(const TraceStep& s) {
    std::string line = std::to_string(s.step);
    line += ',';
    line += std::to_string(s.action);
    line += ',';
    line += CauseName(s.cause);
    for (const int level : s.levels) {
        line += ',';
        line += level ? '1' : '0';
    }
    for (const std::string* text : {&s.address, &s.data, &s.read}) {
        line += ',';
        line += *text;
    }
    line += ',';
    line += CycleName(s.cycle);
    line += ',';
    line += BytesName(s.bytes);
    line += ',';
    line += s.word;
    line += '\n';
    return line;
}

std::string Trace::Csv() const {
    std::string csv = "step,action,cause,CE,OE,WE,LB,UB,A,D,Q,cycle,bytes,word\n";
    csv.reserve(csv.size() + m_size * 48);
    for (std::size_t i = 0; i < m_size; ++i) csv += CsvLine((*this)[i]);
    return csv;
}

std::string Trace::Describe(const TraceStep& s) {
    std::string text = "Step " + std::to_string(s.step) + ", action " + std::to_string(s.action) + ": ";
    // The address as the panel shows it, one hex digit.
    const std::string& address = s.address;
    const std::string bytes = s.bytes == Bytes::Both ? "both bytes" : std::string(BytesName(s.bytes)) + " byte";
    switch (s.cycle) {
        case Cycle::Write:
            text += "write " + s.word + " to address " + address + ", " + bytes;
            break;
        case Cycle::Read:
            text += "read " + s.read + " from address " + address + ", " + bytes;
            break;
        case Cycle::None:
            text += "no cycle";
            break;
    }
    text += s.cause == Cause::Order ? std::string(" (word order chosen)")
                                    : " (" + std::string(CauseName(s.cause)) + " changed)";
    return text;
}

}  // namespace bitwell
