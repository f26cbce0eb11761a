// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The few controls Qt does not offer as such: a picture with a canvas that
// exists only once something was drawn, the 5x5 vertex marker, a status bar
// whose panels return exactly the text last set, and the constraint editor
// that underlines the relational signs as they are typed.
#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTextEdit>
#include <QWidget>
#include <string>
#include <vector>

#include "Plot.h"

namespace optimara {

// How the locale writes the decimal point; "." when it says nothing.
std::string DecimalSeparatorOf(const QLocale& locale);

// A picture control. Its image has the control's pixel size and stays null
// until the program first draws on it, so "no picture yet" can be told apart.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    bool HasPicture() const { return !picture_.isNull(); }
    const QImage& Picture() const { return picture_; }
    // The canvas: created at the control's size (white, as a fresh bitmap)
    // on first use.
    QImage& Canvas();
    // Forgets the picture again (used when a drawing turned out to draw nothing).
    void DropPicture();
    // A transparent layer shown over the picture (a null image for none),
    // kept apart so that the picture itself stays as the plot drew it.
    void SetLayer(const QImage& layer);
    const QImage& Layer() const { return layer_; }
    // The picture as shown: with the layer over it.
    QImage Shown() const;
    // Moves and resizes the control; an existing picture is resized with it,
    // keeping what it showed in its top-left part.
    void Place(const QRect& rect, const QColor& background);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QImage layer_;
};

// The marker of the current basic solution: a circle of 5 x 5 pixels, or
// larger when zoomed.
class MarkerShape : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 5;
    explicit MarkerShape(QWidget* parent = nullptr);
    // How far the zoomed circle reaches beyond the 5 x 5 one on each side.
    int Overhang() const { return (width() - kSize) / 2; }
    // A marker's place is that of the 5 x 5 circle; a zoomed one reaches as
    // far beyond it on every side.
    Marker Current() const;
    // Moves and shows (or hides) the circle as the marker says, over the picture.
    void Apply(const Marker& marker);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Two panels: 0 the error text, 1 the solve status, and at the right end a
// third: where the steps stand. The texts are kept as given, so a read gives
// back exactly what was written.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent = nullptr);
    // The panels' narrowest widths.
    static constexpr int kErrorPanelWidth = 200;
    static constexpr int kStatusPanelWidth = 50;

    const std::string& Text(int panel) const { return texts_[panel]; }
    void SetText(int panel, const std::string& text);
    // The two panels' narrowest widths, for a zoomed text.
    void SetPanelWidths(int error, int status);
    QLabel* PanelLabel(int panel) const { return labels_[panel]; }

private:
    std::string texts_[3];
    QLabel* labels_[3];
    int errorWidth_ = kErrorPanelWidth;
    void FitErrorPanel();
};

// The keystroke handler of the constraint editor, run before the key is
// handled: "<" and ">" get underlined, every other typed character not.
// `inserts` tells whether the key will insert the character.
void RichEdit1KeyPress(QTextEdit& editor, QChar key, bool inserts);

// The constraint editor: one constraint per text block, no wrapping.
class ConstraintEditor : public QTextEdit {
    Q_OBJECT
public:
    explicit ConstraintEditor(QWidget* parent = nullptr);

    int LineCount() const;
    QString Line(int k) const;
    // Focus and the whole of line k selected, from its first character.
    void SelectLine(int k);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Text advances in one font, for the many number texts of the tableau: the
// characters a number is written with are measured once and summed, which is
// what laying the text out gives in a font without kerning; any other text
// is laid out whole.
class TextWidths {
public:
    explicit TextWidths(const QFont& font);
    const QFont& Font() const { return font_; }
    double Advance(const std::string& text) const;

private:
    QFont font_;
    QFontMetricsF metrics_;
    double advances_[128];  // negative for characters laid out with the text
    double ellipsis_;       // "…", which marks a number cut short
};

// The tableau grid's strings. A new display swaps in a whole vector and
// resets the model once, instead of writing the cells one by one.
class TableauModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableauModel(QObject* parent = nullptr);

    void SetCells(int rowCount, int colCount, std::vector<std::string> cells);
    const std::string& Cell(int col, int row) const;
    // Per column: the widest text's advance plus `extra`, at least `minimum`.
    std::vector<int> ColumnWidths(const TextWidths& widths, int extra, int minimum) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int rows_ = 1;
    int cols_ = 1;
    std::vector<std::string> cells_{1};
};

} // namespace optimara
