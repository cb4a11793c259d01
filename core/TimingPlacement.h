#pragma once

// Where the timing window opens: beside the main window in the free space
// of the screen, without covering the main window or another window the
// student works with (the exercise window). Pure geometry in screen pixels;
// the front end passes the rectangles it knows and moves its window.

#include <optional>

namespace bitwell {

struct PlaceRect {
    int x = 0, y = 0, width = 0, height = 0;
    int right() const { return x + width; }    // one past the last column
    int bottom() const { return y + height; }  // one past the last row
    bool operator==(const PlaceRect&) const = default;
};

inline constexpr int kTimingMinWidth = 400;
inline constexpr int kTimingMinHeight = 240;

// The timing window's frame: in the first free room (to the right of
// `main`, then below it, then to its left, then above it, each also beside
// `other` when `other` stands in it) where kTimingMinWidth ×
// kTimingMinHeight fits, sized to the room up to `preferred`'s width and
// height (its position is ignored), next to the main window. Where no room
// fits, the minimum size inside the screen where it overlaps `main` and
// `other` least. Rectangles are not checked for sense; a screen smaller
// than the minimum gives a window at the screen's top left.
PlaceRect PlaceTimingWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                            const PlaceRect& preferred);

// The exercise window's frame, by the same rule with the rooms tried in
// the other order: to the left of `main`, then above it, then to its right,
// then below it, avoiding `timing` (the timing window, when shown) as the
// timing window avoids the exercise window.
PlaceRect PlaceExerciseWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& timing,
                              const PlaceRect& preferred);

}  // namespace bitwell
