#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <optional>

#include "core/TimingPlacement.h"

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

// A placement rule of core/TimingPlacement.h: screen, main window, the
// other window to avoid (if shown), preferred size.
using PlacementRule = bitwell::PlaceRect (*)(const bitwell::PlaceRect&, const bitwell::PlaceRect&,
                                             const std::optional<bitwell::PlaceRect>&, const bitwell::PlaceRect&);
// Moves and sizes top-level `window` by `rule` on `main`'s screen, beside
// `main` and clear of `other` (may be null; ignored while hidden), keeping
// its current size as the preferred one. Nothing without a screen.
void PlaceBeside(QWidget* window, const QWidget* main, const QWidget* other, PlacementRule rule);
