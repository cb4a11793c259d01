#include "core/TimingPlacement.h"

#include <algorithm>
#include <array>
#include <utility>
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

bool Meet(const PlaceRect& a, const PlaceRect& b) { return Area(Intersect(a, b)) > 0; }

bool Inside(const PlaceRect& r, const PlaceRect& screen) {
    return r.x >= screen.x && r.y >= screen.y && r.right() <= screen.right() && r.bottom() <= screen.bottom();
}

PlaceRect Span(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

// The parts of `room` that `other` leaves free: the room itself when they
// do not meet, else the strips right of, below, left of and above it.
std::vector<PlaceRect> FreeParts(const PlaceRect& room, const std::optional<PlaceRect>& other) {
    if (!other || !Meet(room, *other)) return {room};
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
using Order = std::array<Side, 4>;
constexpr Order kTimingOrder{kRight, kBelow, kLeft, kAbove};
constexpr Order kExerciseOrder{kLeft, kAbove, kRight, kBelow};

std::vector<Room> Rooms(const PlaceRect& screen, const PlaceRect& main, const Order& order) {
    const Room sides[] = {
        {Span(main.right() + kGap, std::max(main.y, screen.y), screen.right(), screen.bottom()), Anchor::TopLeft},
        {Span(std::max(main.x, screen.x), main.bottom() + kGap, screen.right(), screen.bottom()), Anchor::TopLeft},
        {Span(screen.x, std::max(main.y, screen.y), main.x - kGap, screen.bottom()), Anchor::TopRight},
        {Span(std::max(main.x, screen.x), screen.y, screen.right(), main.y - kGap), Anchor::BottomLeft},
    };
    std::vector<Room> rooms;
    for (const Side side : order) rooms.push_back(sides[side]);
    return rooms;
}

// The first free room of `order` where `need` fits, the window sized to it
// up to `preferred` (never below `minimum`).
std::optional<PlaceRect> FreeRoom(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                                  PlaceSize preferred, PlaceSize minimum, PlaceSize need, const Order& order) {
    const int width = std::max(preferred.width, minimum.width);
    const int height = std::max(preferred.height, minimum.height);
    for (const Room& room : Rooms(screen, main, order)) {
        for (const PlaceRect& part : FreeParts(room.r, other)) {
            if (part.width >= need.width && part.height >= need.height) return Fit({part, room.anchor}, width, height);
        }
    }
    return std::nullopt;
}

// The least covered place of the minimum size, trying each room's corner
// and the screen's corners, kept on the screen.
PlaceRect LeastCovered(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                       PlaceSize minimum, const Order& order) {
    const int w = std::min(minimum.width, screen.width), h = std::min(minimum.height, screen.height);
    const auto onScreen = [&](int x, int y) {
        return PlaceRect{std::clamp(x, screen.x, screen.right() - w), std::clamp(y, screen.y, screen.bottom() - h), w, h};
    };
    std::vector<PlaceRect> tries;
    for (const Room& room : Rooms(screen, main, order)) tries.push_back(onScreen(Fit(room, w, h).x, Fit(room, w, h).y));
    for (const int x : {screen.x, screen.right() - w})
        for (const int y : {screen.y, screen.bottom() - h}) tries.push_back(onScreen(x, y));
    const auto covered = [&](const PlaceRect& r) {
        return Area(Intersect(r, main)) + (other ? Area(Intersect(r, *other)) : 0);
    };
    return *std::min_element(tries.begin(), tries.end(),
                             [&](const PlaceRect& a, const PlaceRect& b) { return covered(a) < covered(b); });
}

PlaceRect Place(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                const PlaceRect& preferred, PlaceSize minimum, const Order& order) {
    const PlaceSize want{preferred.width, preferred.height};
    if (auto room = FreeRoom(screen, main, other, want, minimum, minimum, order)) return *room;
    return LeastCovered(screen, main, other, minimum, order);
}

PlaceRect At(const PlaceRect& r, int x, int y) { return {x, y, r.width, r.height}; }

PlaceRect Grown(const PlaceRect& r, int by) { return {r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by}; }

// One side window as the layout sees it.
struct Slot {
    const SideWindow* window;
    PlaceRect WindowLayout::*field;
    Order order;
};

// How a shown window is treated in a try of step 1.
enum class Keep { Whole, Afresh, Shrunk };

// Step 2 for one window of `size`: the place on the screen, clear of the
// main window's bars and of `placed`, over as little of `main` as can be.
std::optional<PlaceRect> OverPanel(const PlaceRect& screen, const MainFrame& main, const std::vector<PlaceRect>& placed,
                                   PlaceSize size) {
    const PlaceRect& m = main.frame;
    const int w = size.width, h = size.height;
    if (w > screen.width || h > screen.height) return std::nullopt;
    std::vector<int> xs{screen.x, screen.right() - w, m.right() + kGap, m.x - kGap - w};
    std::vector<int> ys{screen.y,          screen.bottom() - h,         m.y + main.top, m.bottom() - main.bottom - h,
                        m.bottom() + kGap, m.y - kGap - h};
    for (const PlaceRect& p : placed) {
        xs.insert(xs.end(), {p.right() + kGap, p.x - kGap - w});
        ys.insert(ys.end(), {p.bottom() + kGap, p.y - kGap - h});
    }
    const PlaceRect bars[] = {{m.x, m.y, m.width, main.top}, {m.x, m.bottom() - main.bottom, m.width, main.bottom}};
    std::optional<PlaceRect> best;
    for (const int y : ys) {
        for (const int x : xs) {
            const PlaceRect r{std::clamp(x, screen.x, screen.right() - w), std::clamp(y, screen.y, screen.bottom() - h),
                              w, h};
            if (Meet(r, bars[0]) || Meet(r, bars[1])) continue;
            if (std::any_of(placed.begin(), placed.end(), [&](const PlaceRect& p) { return Meet(r, Grown(p, kGap)); }))
                continue;
            if (!best || Area(Intersect(r, m)) < Area(Intersect(*best, m))) best = r;
        }
    }
    return best;
}

}  // namespace

PlaceRect PlaceTimingWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& other,
                            const PlaceRect& preferred, PlaceSize minimum) {
    return Place(screen, main, other, preferred, minimum, kTimingOrder);
}

PlaceRect PlaceExerciseWindow(const PlaceRect& screen, const PlaceRect& main, const std::optional<PlaceRect>& timing,
                              const PlaceRect& preferred, PlaceSize minimum) {
    return Place(screen, main, timing, preferred, minimum, kExerciseOrder);
}

WindowLayout PlaceWindows(const PlaceRect& screen, const MainFrame& main, bool mainMayMove, const SideWindow& timing,
                          const SideWindow& exercise) {
    // The timing window before the exercise window; a window kept where it
    // stands before one placed afresh.
    const auto slotsFor = [&](bool shownFirst) {
        std::vector<Slot> slots;
        for (const bool shown : {true, false}) {
            if (timing.open && (!shownFirst || timing.shown == shown))
                slots.push_back({&timing, &WindowLayout::timing, kTimingOrder});
            if (exercise.open && (!shownFirst || exercise.shown == shown))
                slots.push_back({&exercise, &WindowLayout::exercise, kExerciseOrder});
            if (!shownFirst) break;
        }
        return slots;
    };
    const PlaceRect& m = main.frame;
    std::vector<PlaceRect> mains;
    if (Inside(m, screen) || !mainMayMove) mains.push_back(m);
    if (mainMayMove) {
        const int left = screen.x, right = screen.right() - m.width;
        const int top = screen.y, bottom = screen.bottom() - m.height;
        for (const auto& [x, y] : {std::pair{left, top}, {left, bottom}, {right, top}, {right, bottom}})
            if (At(m, x, y) != m) mains.push_back(At(m, x, y));
    }
    WindowLayout layout{mains.front(), timing.frame, exercise.frame};

    // 1. Free rooms, by size wanted, then by what is kept, then by where the main window stands.
    const auto freeLayout = [&](const PlaceRect& at, bool preferredSize, Keep keep) -> bool {
        std::vector<PlaceRect> placed;
        WindowLayout l{at, timing.frame, exercise.frame};
        for (const Slot& slot : slotsFor(keep != Keep::Afresh)) {
            const SideWindow& w = *slot.window;
            const PlaceSize minimum{std::min(w.minimum.width, screen.width), std::min(w.minimum.height, screen.height)};
            PlaceRect r;
            if (w.shown && keep != Keep::Afresh) {
                r = keep == Keep::Whole ? w.frame : PlaceRect{w.frame.x, w.frame.y, minimum.width, minimum.height};
                if (!Inside(r, screen) || Meet(r, at)) return false;
            } else {
                const PlaceSize want{w.frame.width, w.frame.height};
                const PlaceSize need = preferredSize ? PlaceSize{std::max(want.width, minimum.width),
                                                                 std::max(want.height, minimum.height)}
                                                     : minimum;
                const std::optional<PlaceRect> other = placed.empty() ? std::nullopt : std::optional(placed.front());
                const auto room = FreeRoom(screen, at, other, want, minimum, need, slot.order);
                if (!room) return false;
                r = *room;
            }
            if (std::any_of(placed.begin(), placed.end(), [&](const PlaceRect& p) { return Meet(r, p); })) return false;
            placed.push_back(r);
            l.*slot.field = r;
        }
        layout = l;
        return true;
    };
    constexpr std::pair<bool, Keep> kTries[] = {{true, Keep::Whole},  {true, Keep::Afresh}, {false, Keep::Whole},
                                                {false, Keep::Afresh}, {false, Keep::Shrunk}};
    for (const auto& [preferredSize, keep] : kTries)
        for (const PlaceRect& at : mains)
            if (freeLayout(at, preferredSize, keep)) return layout;

    // 2. Over the panel where no room is free.
    const std::vector<Slot> slots = slotsFor(false);
    std::optional<WindowLayout> best;
    long bestCover = 0;
    for (const PlaceRect& at : mains) {
        const MainFrame moved{at, main.top, main.bottom};
        WindowLayout l{at, timing.frame, exercise.frame};
        std::vector<PlaceRect> placed;
        long cover = 0;
        for (const Slot& slot : slots) {
            // A free room first; else the preferred size where it covers
            // no more than the minimum would.
            const SideWindow& w = *slot.window;
            const std::optional<PlaceRect> other = placed.empty() ? std::nullopt : std::optional(placed.front());
            auto r = FreeRoom(screen, at, other, {w.frame.width, w.frame.height}, w.minimum, w.minimum, slot.order);
            if (r && std::any_of(placed.begin(), placed.end(), [&](const PlaceRect& p) { return Meet(*r, p); }))
                r.reset();
            if (!r) {
                r = OverPanel(screen, moved, placed, w.minimum);
                const PlaceSize preferred{std::max(w.frame.width, w.minimum.width),
                                          std::max(w.frame.height, w.minimum.height)};
                const auto large = OverPanel(screen, moved, placed, preferred);
                if (large && (!r || Area(Intersect(*large, at)) <= Area(Intersect(*r, at)))) r = large;
            }
            if (!r) break;
            placed.push_back(*r);
            cover += Area(Intersect(*r, at));
            l.*slot.field = *r;
        }
        if (placed.size() == slots.size() && (!best || cover < bestCover)) {
            best = l;
            bestCover = cover;
        }
    }
    if (best) return *best;

    // 3. Nothing fits: the least covered places.
    std::optional<PlaceRect> placed;
    for (const Slot& slot : slots) {
        const PlaceRect r = LeastCovered(screen, mains.front(), placed, slot.window->minimum, slot.order);
        layout.*slot.field = r;
        placed = r;
    }
    layout.main = mains.front();
    return layout;
}

int TitleBarWidth(int textWidth, int barHeight) { return textWidth + 4 * barHeight; }

}  // namespace bitwell
