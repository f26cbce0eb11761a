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

QColor Mix(const QColor& from, const QColor& to, double share) {
    auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleDisabledText(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Disabled, QPalette::Base);
    const QColor faint = palette.color(QPalette::Disabled, QPalette::Text).toRgb();
    const QColor normal = palette.color(QPalette::Active, QPalette::Text).toRgb();
    // The least step towards the normal text that reads; the disabled look
    // is kept as far as legibility allows.
    for (int step = 0; step <= 10; ++step) {
        const QColor candidate = Mix(faint, normal, step / 10.0);
        if (ContrastRatio(candidate, base) >= kComfortableContrast) return candidate;
    }
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
