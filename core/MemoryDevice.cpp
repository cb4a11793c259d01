#include "core/MemoryDevice.h"

#include "core/Conversions.h"

namespace bitwell {
namespace {

// Characters first and first + 1 of a word, or what there is of them: a
// panel driven through its properties may hold a short text.
std::string Byte(const std::string& word, std::size_t first) {
    return first < word.size() ? word.substr(first, 2) : std::string();
}

}  // namespace

std::array<int, 16> SixteenBits(const std::string& bits) {
    std::array<int, 16> out{};
    for (std::size_t k = 0; k < 16; ++k) {
        const std::size_t pos = 15 - k;
        out[k] = pos < bits.size() && bits[pos] == '1' ? 1 : 0;
    }
    return out;
}

MemoryDevice::MemoryDevice(SignalPanel& panel) : m_panel(panel) {
    // Words hold a full word even before power-up, so an evaluation that a
    // panel runs early reads and writes whole words.
    for (int i = 0; i < 16; ++i) memWords[static_cast<std::size_t>(i)] = "FFFF";
}

Evaluation MemoryDevice::UpdateMemory() {
    ++m_memoryRuns;
    const int ce = m_panel.level(Control::CE);
    const int oe = m_panel.level(Control::OE);
    const int we = m_panel.level(Control::WE);
    const int lb = m_panel.level(Control::LB);
    const int ub = m_panel.level(Control::UB);

    Evaluation done;
    const bool cycle = ce != 1 && !(oe == 1 && we == 1) && !(lb == 1 && ub == 1);
    if (cycle) {
        const auto a = static_cast<std::size_t>(HexToInt(m_panel.addressText()) & 0xF);
        done.address = static_cast<int>(a);
        done.cycle = we == 1 ? Cycle::Read : Cycle::Write;
        done.bytes = ub == 0 ? (lb == 0 ? Bytes::Both : Bytes::Upper) : Bytes::Lower;
        std::string& word = memWords[a];
        if (we == 1) {
            const std::string read = m_panel.readText();
            std::string s = Byte(ub == 0 ? word : read, 0);
            s += Byte(lb == 0 ? word : read, 2);
            m_panel.setReadText(s);
        } else {
            const std::string data = m_panel.dataText();
            std::string s = Byte(ub == 0 ? data : word, 0);
            s += Byte(lb == 0 ? data : word, 2);
            word = s;
        }
        UpdateContents();
    }
    UpdateTypes();
    return done;
}

void MemoryDevice::Form_Load() {
    for (int i = 0; i < 16; ++i) memWords[static_cast<std::size_t>(i)] = "FFFF";
    UpdateContents();
    for (int bit = 0; bit < 16; ++bit) m_panel.setReadLampVisible(bit, false);
    for (const Control c : {Control::WE, Control::CE, Control::OE, Control::LB, Control::UB})
        m_panel.setLevel(c, 1);
}

void MemoryDevice::UpdateContents() {
    ++m_contentsRuns;
    // Built whole and set once: only the finished listing is ever seen.
    ContentsListing(memWords, m_listing);
    m_panel.setContentsText(m_listing);
}

void MemoryDevice::UpdateTypes() {
    ++m_typesRuns;
    const std::string addressText = m_panel.addressText();
    TypesListing(memWords, HexToInt(addressText) & 0xF, addressText, m_panel.bigEndian(), m_listing);
    m_panel.setTypesText(m_listing);
}

}  // namespace bitwell
