#include "core/ChangedMemory.h"

namespace bitwell {

bool StudentChangedMemory(const Panel& panel, const Exercise* open) {
    if (!open) return !panel.MemoryAtPowerOn();
    // The exercise's start played again on a panel of its own: the givens
    // may write, so the start's words are whatever they leave.
    Panel start;
    ExerciseSession session(start);
    session.Start(*open);
    for (std::size_t i = 0; i < 16; ++i)
        if (panel.device().memWords[i] != start.device().memWords[i]) return true;
    return false;
}

}  // namespace bitwell
