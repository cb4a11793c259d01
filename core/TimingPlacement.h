#pragma once

// Where the timing and exercise windows open: beside the main window in the
// free space of the screen, fully on it, never on each other. Pure geometry
// in screen pixels of window frames (title bar and borders included); the
// front end measures the frames and minimum sizes, passes them in and moves
// its windows to what comes back.

#include <optional>

namespace bitwell {

struct PlaceRect {
    int x = 0, y = 0, width = 0, height = 0;
    int right() const { return x + width; }    // one past the last column
    int bottom() const { return y + height; }  // one past the last row
    bool operator==(const PlaceRect&) const = default;
};

struct PlaceSize {
    int width = 0, height = 0;
};

// The smallest room the single-window rules below look for, where the
// caller knows no better.
inline constexpr int kTimingMinWidth = 400;
inline constexpr int kTimingMinHeight = 240;

// The timing window's frame: in the first free room (to the right of
// `main`, then below it, then to its left, then above it, each also beside
// `other` when `other` stands in it) where `minimum` fits, sized to the room
// up to `preferred`'s width and height (its position is ignored), next to
// the main window. Where no room fits, the minimum size inside the screen
// where it overlaps `main` and `other` least. Rectangles are not checked for
// sense; a screen smaller than the minimum gives a window at the screen's
// top left.
PlaceRect PlaceTimingWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                            const PlaceRect& preferred, PlaceSize minimum = {kTimingMinWidth, kTimingMinHeight});

// The exercise window's frame, by the same rule with the rooms tried in
// the other order: to the left of `main`, then above it, then to its right,
// then below it, avoiding `timing` (the timing window, when shown) as the
// timing window avoids the exercise window.
PlaceRect PlaceExerciseWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& timing,
                              const PlaceRect& preferred, PlaceSize minimum = {kTimingMinWidth, kTimingMinHeight});

// The main window's frame and the rows of it no other window may cover:
// `top` rows from its top (title bar and menu bar) and `bottom` rows up from
// its bottom (the status line). What lies between is its panel.
struct MainFrame {
    PlaceRect frame;
    int top = 0, bottom = 0;
};

// The timing or the exercise window. `open`: shown, or being opened now;
// `shown`: already on the screen at `frame`, kept there where the rule
// allows. `frame`'s size is the preferred one; `minimum` is the smallest
// frame its contents allow.
struct SideWindow {
    bool open = false, shown = false;
    PlaceRect frame;
    PlaceSize minimum;
};

struct WindowLayout {
    PlaceRect main, timing, exercise;  // a closed window's entry is its `frame` unchanged
};

// Where the main window and every open side window go, by the first of:
//  1. each open window in a free room beside the main window at its
//     preferred size, then at its minimum size (the rooms of the
//     single-window rules), a shown one kept where it stands, then placed
//     afresh, then kept where it stands at its minimum size; the main window
//     where it stands (when wholly on the screen), then (when `mainMayMove`)
//     at the screen's top left, bottom left, top right or bottom right;
//  2. each in a free room where one is left, else over the main window's
//     panel as little as can be (at the preferred size where that covers no
//     more than the minimum size would), never over its title bar, menu bar
//     or status line nor the other; the main window where that covers least;
//  3. the single-window rules' least covered places.
// The timing window is placed before the exercise window, a shown window
// before one being opened. Every result lies on `screen` where the
// minimum sizes fit on it at all.
WindowLayout PlaceWindows(const PlaceRect& screen, const MainFrame& main, bool mainMayMove, const SideWindow& timing,
                          const SideWindow& exercise);

// The narrowest frame whose title bar shows a title `textWidth` pixels
// wide: the text beside the window's icon and its three buttons, each a
// square of the bar's `barHeight`, which leaves room for their spacing.
int TitleBarWidth(int textWidth, int barHeight);

}  // namespace bitwell
