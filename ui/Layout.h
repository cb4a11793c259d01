#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <optional>

#include "core/TimingPlacement.h"

class QMessageBox;
class QWidget;

// Layout units: 15 twips are one logical pixel.
constexpr int Px(int twips) { return twips / 15; }

inline QRect Twips(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

// The default dialog face: a sans-serif of about 8 points.
QFont DialogFont();

// The fixed-pitch listing face at the given size.
QFont ListingFont(qreal points);

// The program's scalable icon, for every window.
QIcon AppIcon();

// Which side window PlaceBeside places.
enum class SideWindowKind { Timing, Exercise };
// Places top-level `window` (the timing or the exercise window, about to be
// shown or shown) beside `main` and clear of `other` (the other side window;
// may be null, ignored while hidden) by bitwell::PlaceWindows, measuring
// their minimum sizes after layout and their frames (a window never shown
// yet is taken to have the main window's frame). The main window may move;
// `other`, when shown, is kept where it stands if it can be. Once the window
// manager has framed `window`, it is placed again if its frame proved other
// than assumed. Nothing without a screen.
void PlaceBeside(QWidget* window, const QWidget* main, const QWidget* other, SideWindowKind kind);

// Widens `box` until its title fits its title bar, taking the bar's height
// from `main`'s frame (nothing while `main` has none).
void FitTitle(QMessageBox& box, const QWidget* main);
