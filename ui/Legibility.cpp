// SPDX-License-Identifier: GPL-3.0-or-later
#include "Legibility.h"

#include <QApplication>
#include <QWidget>
#include <cmath>

namespace optimara {

namespace {

double Linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleDisabledText(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Disabled, QPalette::Base);
    const QColor faint = palette.color(QPalette::Disabled, QPalette::Text);
    // Small text renders lighter than its colour: a disabled colour is kept
    // only with a margin, else the normal text colour is used.
    if (ContrastRatio(faint, base) >= kComfortableContrast) return faint;
    const QColor normal = palette.color(QPalette::Active, QPalette::Text);
    if (ContrastRatio(normal, base) >= kLegibleContrast) return normal;
    const QColor black(Qt::black), white(Qt::white);
    return ContrastRatio(black, base) >= ContrastRatio(white, base) ? black : white;
}

void KeepLegibleWhenDisabled(QWidget* control) {
    // Only these three roles are the control's own; the others follow the
    // application's palette as before.
    const QPalette inherited = QApplication::palette(control);
    const QColor text = LegibleDisabledText(inherited);
    QPalette own;
    own.setColor(QPalette::Disabled, QPalette::Text, text);
    own.setColor(QPalette::Disabled, QPalette::WindowText, text);
    own.setColor(QPalette::Disabled, QPalette::Base, inherited.color(QPalette::Disabled, QPalette::Base));
    control->setPalette(own);
}

} // namespace optimara
