// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomedFont.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextBlock>
#include <QVariant>

#include "Zoom.h"

namespace optimara {

namespace {

constexpr char kBaseFontKey[] = "optimaraBaseFont";
constexpr char kBaseRowKey[] = "optimaraBaseRowHeight";

int DigitHeight(const QFont& font) { return QFontMetrics(font).tightBoundingRect("0123456789").height(); }

// A font whose digits are `percent` as high as the base font's: hinting
// rounds heights unevenly, so the size is raised until the digits reach it.
QFont ZoomedFont(const QFont& base, int percent) {
    if (percent == kNormalZoom) return base;
    QFont font = base;
    const int target = Zoomed(DigitHeight(base), percent);
    const bool points = base.pointSizeF() > 0;
    const double start = (points ? base.pointSizeF() : base.pixelSize()) * percent / 100.0;
    for (int k = 0; k < 40; ++k) {
        const double size = start + k * (points ? 0.25 : 1.0);
        if (points) font.setPointSizeF(size);
        else font.setPixelSize(static_cast<int>(size));
        if (DigitHeight(font) >= target) break;
    }
    return font;
}

// The font a control had before any zoom, kept with it.
QFont BaseFont(QWidget* widget) {
    const QVariant kept = widget->property(kBaseFontKey);
    if (kept.isValid()) return kept.value<QFont>();
    widget->setProperty(kBaseFontKey, widget->font());
    return widget->font();
}

} // namespace

void SetZoomedFont(QWidget* widget, int percent) { widget->setFont(ZoomedFont(BaseFont(widget), percent)); }

void SetZoomedWindowFonts(QWidget* window, int percent) {
    // A control not yet polished may still be given its style's font when
    // first shown, over the zoomed one.
    window->ensurePolished();
    // The controls first: a control that chose its own font keeps the one
    // it had before the window's font changed as its size at normal zoom.
    // So do a table's headings, which have a font of their own on some
    // platforms and do not follow the window's first change of font. The
    // other controls follow the window's font.
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->isWindow()) continue;
        if (child->property(kBaseFontKey).isValid() || child->testAttribute(Qt::WA_SetFont) ||
            qobject_cast<QHeaderView*>(child))
            SetZoomedFont(child, percent);
    }
    SetZoomedFont(window, percent);
    // A table's rows keep their height whatever the font: grown with it.
    for (QTableView* table : window->findChildren<QTableView*>()) {
        QHeaderView* rows = table->verticalHeader();
        if (!rows->property(kBaseRowKey).isValid()) rows->setProperty(kBaseRowKey, rows->defaultSectionSize());
        rows->setDefaultSectionSize(Zoomed(rows->property(kBaseRowKey).toInt(), percent));
    }
}

// After a change of font the panel counts each paragraph it has not laid
// out again as one line, so its scroll bar falls short of the end, or is
// missing when a few long paragraphs seem to fit. Its texts are short:
// every paragraph is laid out at once, and the bar follows the true height.
void LayOutWholly(QPlainTextEdit* panel) {
    QTextDocument* document = panel->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    if (!layout) return;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) layout->ensureBlockLayout(block);
    emit layout->documentSizeChanged(layout->documentSize());
}

} // namespace optimara
