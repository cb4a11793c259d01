#include "core/TimingPlacement.h"

#include <algorithm>
#include <array>
#include <vector>

namespace bitwell {

namespace {

constexpr int kGap = 8;

// Which corner of its room a window keeps: the one next to the main window.
enum class Anchor { TopLeft, TopRight, BottomLeft };

struct Room {
    PlaceRect r;
    Anchor anchor;
};

PlaceRect Intersect(const PlaceRect& a, const PlaceRect& b) {
    const int x = std::max(a.x, b.x), y = std::max(a.y, b.y);
    const int w = std::min(a.right(), b.right()) - x, h = std::min(a.bottom(), b.bottom()) - y;
    return w > 0 && h > 0 ? PlaceRect{x, y, w, h} : PlaceRect{};
}

long Area(const PlaceRect& r) { return static_cast<long>(r.width) * r.height; }

PlaceRect Span(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

// The parts of `room` that `other` leaves free: the room itself when they
// do not meet, else the strips right of, below, left of and above it.
std::vector<PlaceRect> FreeParts(const PlaceRect& room, const std::optional<PlaceRect>& other) {
    if (!other || Area(Intersect(room, *other)) == 0) return {room};
    const PlaceRect& o = *other;
    return {Span(o.right() + kGap, room.y, room.right(), room.bottom()),
            Span(room.x, o.bottom() + kGap, room.right(), room.bottom()),
            Span(room.x, room.y, o.x - kGap, room.bottom()),
            Span(room.x, room.y, room.right(), o.y - kGap)};
}

PlaceRect Fit(const Room& room, int width, int height) {
    const int w = std::min(room.r.width, width), h = std::min(room.r.height, height);
    switch (room.anchor) {
        case Anchor::TopRight: return {room.r.right() - w, room.r.y, w, h};
        case Anchor::BottomLeft: return {room.r.x, room.r.bottom() - h, w, h};
        case Anchor::TopLeft: break;
    }
    return {room.r.x, room.r.y, w, h};
}

// The rooms beside the main window, by side.
enum Side { kRight, kBelow, kLeft, kAbove };

// The first free room of `order` where the minimum fits, else the least
// covered place of the minimum size (see PlaceTimingWindow).
PlaceRect Place(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                const PlaceRect& preferred, const std::array<Side, 4>& order) {
    const int width = std::max(preferred.width, kTimingMinWidth);
    const int height = std::max(preferred.height, kTimingMinHeight);
    const Room sides[] = {
        {Span(main.right() + kGap, std::max(main.y, screen.y), screen.right(), screen.bottom()), Anchor::TopLeft},
        {Span(std::max(main.x, screen.x), main.bottom() + kGap, screen.right(), screen.bottom()), Anchor::TopLeft},
        {Span(screen.x, std::max(main.y, screen.y), main.x - kGap, screen.bottom()), Anchor::TopRight},
        {Span(std::max(main.x, screen.x), screen.y, screen.right(), main.y - kGap), Anchor::BottomLeft},
    };
    std::vector<Room> rooms;
    for (const Side side : order) rooms.push_back(sides[side]);
    for (const Room& room : rooms) {
        for (const PlaceRect& part : FreeParts(room.r, other)) {
            if (part.width >= kTimingMinWidth && part.height >= kTimingMinHeight)
                return Fit({part, room.anchor}, width, height);
        }
    }

    // Nowhere free: the least covered place of the minimum size, trying each
    // room's corner and the screen's corners, kept on the screen.
    const int w = std::min(kTimingMinWidth, screen.width), h = std::min(kTimingMinHeight, screen.height);
    const auto onScreen = [&](int x, int y) {
        return PlaceRect{std::clamp(x, screen.x, screen.right() - w), std::clamp(y, screen.y, screen.bottom() - h), w, h};
    };
    std::vector<PlaceRect> tries;
    for (const Room& room : rooms) tries.push_back(onScreen(Fit(room, w, h).x, Fit(room, w, h).y));
    for (const int x : {screen.x, screen.right() - w})
        for (const int y : {screen.y, screen.bottom() - h}) tries.push_back(onScreen(x, y));
    const auto covered = [&](const PlaceRect& r) {
        return Area(Intersect(r, main)) + (other ? Area(Intersect(r, *other)) : 0);
    };
    return *std::min_element(tries.begin(), tries.end(),
                             [&](const PlaceRect& a, const PlaceRect& b) { return covered(a) < covered(b); });
}

}  // namespace

PlaceRect PlaceTimingWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                            const PlaceRect& preferred) {
    return Place(screen, main, other, preferred, {kRight, kBelow, kLeft, kAbove});
}

PlaceRect PlaceExerciseWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& timing,
                              const PlaceRect& preferred) {
    return Place(screen, main, timing, preferred, {kLeft, kAbove, kRight, kBelow});
}

}  // namespace bitwell
