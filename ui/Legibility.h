// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours that keep the read-only results legible. The result lists and the
// value box are disabled (no focus, no editing), and many styles draw
// disabled text too faintly to be read, on a projector least of all.
#include <QColor>
#include <QPalette>

class QWidget;

namespace optimara {

// The contrast ratio of two colours by their relative luminance, from 1
// (equal) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The least contrast text must have against its background to be read.
inline constexpr double kLegibleContrast = 4.5;

// The contrast a disabled text colour needs to be kept as it is: small
// antialiased text renders lighter than its colour.
inline constexpr double kComfortableContrast = 7.0;

// The disabled text colour for `palette`: its own when comfortable on the
// disabled background, else the normal text colour when that reads, else
// plain black or white, whichever reads better.
QColor LegibleDisabledText(const QPalette& palette);

// Gives the control disabled text, window text and background colours
// derived from the application's palette for it, so its text stays
// legible while it is disabled.
void KeepLegibleWhenDisabled(QWidget* control);

} // namespace optimara
