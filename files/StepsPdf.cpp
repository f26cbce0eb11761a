// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <vector>

#include "FileIO.h"

namespace optimara::files {
namespace {

// Millimetres: the PDF's margins, the gap between two blocks side by side
// and the space between one row of blocks and the next.
constexpr double kMarginMm = 10, kGapMm = 6, kRowSpaceMm = 2;
// The sheet's number below the blocks, in points, and the room it takes.
constexpr double kFootPoints = 7.5, kFootMm = 5;

// One block set by its text document, scaled down when its tables are wider
// than its place; x is where it stands in its row, in device pixels.
struct SetBlock {
    std::unique_ptr<QTextDocument> doc;
    double x = 0, scale = 1;
    double Height() const { return doc->size().height() * scale; }
};

struct Row {
    std::vector<SetBlock> blocks;
    double Height() const {
        double h = 0;
        for (const SetBlock& b : blocks) h = std::max(h, b.Height());
        return h;
    }
};

// A part of a block on a sheet: the part of its document from `from` on,
// `height` of it (in the document's units), its top at y on the sheet.
struct Placed {
    const SetBlock* block;
    int sheet;
    double y, from, height;
};

// The headings' sizes of the page's style. Qt's text document keeps its own
// sizes for headings over those of a style sheet: they are set again.
constexpr double kHeadingPoints[] = {12, 9.5};

void HeadingSizes(QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 2) continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setProperty(QTextFormat::FontSizeAdjustment, 0);
        format.setFontPointSize(kHeadingPoints[level - 1]);
        cursor.mergeCharFormat(format);
    }
}

double Pixels(const QPaintDevice& device, double mm) { return mm / 25.4 * device.logicalDpiY(); }

SetBlock Set(QPaintDevice& device, const QString& style, const std::string& html, double width) {
    SetBlock b;
    b.doc = std::make_unique<QTextDocument>();
    b.doc->documentLayout()->setPaintDevice(&device);
    b.doc->setDocumentMargin(0);
    b.doc->setDefaultStyleSheet(style);
    b.doc->setHtml("<html><body>" + QString::fromStdString(html) + "</body></html>");
    HeadingSizes(*b.doc);
    b.doc->setTextWidth(width);
    // A table whose cells do not break runs past the width: set at its own
    // width and drawn smaller.
    const double wide = b.doc->size().width();
    if (wide > width + 1) {
        b.doc->setTextWidth(wide);
        b.scale = width / b.doc->size().width();
    }
    return b;
}

// The page's rows: a block across the line, or two narrow blocks side by
// side when both fit their half without being made smaller, and on a sheet.
std::vector<Row> Rows(QPaintDevice& device, const StepsPage& page, double width, double tall) {
    const QString style = QString::fromStdString(StepsPageStyle(page.form));
    const std::vector<StepsPageBlock> blocks = StepsPageBlocks(page);
    const std::vector<size_t> starts = StepsPageRows(blocks);
    const double gap = Pixels(device, kGapMm), half = (width - gap) / 2;
    std::vector<Row> rows;
    for (size_t r = 0; r < starts.size(); ++r) {
        const size_t k = starts[r], end = r + 1 < starts.size() ? starts[r + 1] : blocks.size();
        if (end - k == 2) {
            SetBlock left = Set(device, style, blocks[k].html, half);
            SetBlock right = Set(device, style, blocks[k + 1].html, half);
            if (left.scale == 1 && right.scale == 1 && std::max(left.Height(), right.Height()) <= tall) {
                right.x = half + gap;
                rows.emplace_back();
                rows.back().blocks.push_back(std::move(left));
                rows.back().blocks.push_back(std::move(right));
                continue;
            }
        }
        for (size_t b = k; b < end; ++b) {
            rows.emplace_back();
            rows.back().blocks.push_back(Set(device, style, blocks[b].html, width));
        }
    }
    return rows;
}

// A block taller than a sheet starts a sheet and breaks where its document
// breaks into pages of the sheet's height; what follows goes under its end.
void PlaceTall(std::vector<Placed>& placed, SetBlock& block, double tall, int& sheet, double& y) {
    if (y > 0) ++sheet;
    QTextDocument& doc = *block.doc;
    const double pageHeight = tall / block.scale;
    doc.setPageSize(QSizeF(doc.textWidth(), pageHeight));
    const int pages = doc.pageCount();
    for (int p = 0; p < pages; ++p) placed.push_back({&block, sheet + p, 0, p * pageHeight, pageHeight});
    sheet += pages - 1;
    const QRectF last = doc.documentLayout()->blockBoundingRect(doc.lastBlock());
    y = (last.bottom() - (pages - 1) * pageHeight) * block.scale;
}

// Each row whole on one sheet: on the next one when it does not fit.
std::vector<Placed> Placement(std::vector<Row>& rows, double tall, double space, int& sheets) {
    std::vector<Placed> placed;
    int sheet = 0;
    double y = 0;
    for (Row& row : rows) {
        const double h = row.Height();
        if (h > tall) {
            PlaceTall(placed, row.blocks[0], tall, sheet, y);
        } else {
            if (y > 0 && y + h > tall) {
                ++sheet;
                y = 0;
            }
            for (const SetBlock& b : row.blocks) placed.push_back({&b, sheet, y, 0, b.doc->size().height()});
            y += h;
        }
        y += space;
    }
    sheets = sheet + 1;
    return placed;
}

void Draw(QPainter& painter, const Placed& p) {
    const SetBlock& b = *p.block;
    painter.save();
    painter.translate(b.x, p.y - p.from * b.scale);
    painter.scale(b.scale, b.scale);
    b.doc->drawContents(&painter, QRectF(0, p.from, b.doc->size().width(), p.height));
    painter.restore();
}

} // namespace

int PaintStepsSheets(QPagedPaintDevice& device, const StepsPage& page) {
    const double width = device.width();
    const double foot = Pixels(device, kFootMm), tall = device.height() - foot;
    std::vector<Row> rows = Rows(device, page, width, tall);
    int sheets = 0;
    const std::vector<Placed> placed = Placement(rows, tall, Pixels(device, kRowSpaceMm), sheets);
    QPainter painter(&device);
    QFont font(QStringLiteral("sans-serif"));
    font.setPointSizeF(kFootPoints);
    size_t next = 0;
    for (int sheet = 0; sheet < sheets; ++sheet) {
        if (sheet > 0) device.newPage();
        for (; next < placed.size() && placed[next].sheet == sheet; ++next) Draw(painter, placed[next]);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, tall, width, foot), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::fromUtf8("Página %1 de %2").arg(sheet + 1).arg(sheets));
    }
    return sheets;
}

QByteArray StepsPdf(const StepsPage& page) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Optimara"));
        writer.setTitle(QStringLiteral("Optimara: pasos"));
        PaintStepsSheets(writer, page);
    }
    return buffer.data();
}

void WriteStepsPdf(const QString& fileName, const StepsPage& page) { WriteWholeFile(fileName, StepsPdf(page)); }

} // namespace optimara::files
