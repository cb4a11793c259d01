#pragma once

// Whether starting afresh would lose the student's work: the rule behind
// the question that File, Restart and opening an exercise ask, on every
// front end.

#include "core/Exercise.h"
#include "core/Panel.h"

namespace bitwell {

// True when the memory holds a word the student changed. With no exercise
// open (`open` null) that is any word other than power-on's FFFF; inside
// exercise `open`, any word other than those its start leaves (its memory
// givens and whatever its other givens write). Only the words count: the
// switches, the listings and the trace are no work to lose.
bool StudentChangedMemory(const Panel& panel, const Exercise* open);

}  // namespace bitwell
