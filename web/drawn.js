// The markup drawn: a promise kept once the first frame after the markup
// has run and the event loop has turned. Run with the markup's language
// script, before the parser first yields, so that the frame it waits for
// is the one that draws the markup; the core is not unpacked before.
'use strict';

const MarkupDrawn = new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
