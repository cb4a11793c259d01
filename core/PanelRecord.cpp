#include "core/PanelRecord.h"

#include "core/Conversions.h"
#include "core/MemoryDevice.h"

namespace bitwell {

void PanelRecord::setLevel(Control c, int value) {
    int& slot = levels[static_cast<std::size_t>(c)];
    if (slot == value) return;
    slot = value;
    if (onLevelChange) onLevelChange();
}

void PanelRecord::setReadText(const std::string& text) {
    read = text;
    const auto bits = SixteenBits(HexToBin(read));
    for (std::size_t k = 0; k < 16; ++k) lamps[k] = bits[k] == 1;
}

}  // namespace bitwell
