#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

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
