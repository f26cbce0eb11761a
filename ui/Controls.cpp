// SPDX-License-Identifier: GPL-3.0-or-later
#include "Controls.h"

#include "Notation.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

namespace optimara {

std::string DecimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? std::string(".") : point.toStdString();
}

Marker MarkerShape::Current() const { return Marker{!isHidden(), x() + Overhang(), y() + Overhang()}; }

void MarkerShape::Apply(const Marker& marker) {
    move(marker.left - Overhang(), marker.top - Overhang());
    setVisible(marker.visible);
    raise();
}

// ---- PictureBox -----------------------------------------------------------

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QImage& PictureBox::Canvas() {
    if (picture_.isNull()) {
        picture_ = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    return picture_;
}

void PictureBox::DropPicture() {
    picture_ = QImage();
    layer_ = QImage();
    update();
}

void PictureBox::SetLayer(const QImage& layer) {
    if (layer_.isNull() && layer.isNull()) return;
    layer_ = layer;
    update();
}

QImage PictureBox::Shown() const {
    if (picture_.isNull() || layer_.isNull()) return picture_;
    QImage shown = picture_.copy();
    QPainter painter(&shown);
    painter.drawImage(0, 0, layer_);
    painter.end();
    return shown;
}

void PictureBox::Place(const QRect& rect, const QColor& background) {
    setGeometry(rect);
    if (!picture_.isNull() && picture_.size() != rect.size()) {
        QImage resized(qMax(1, rect.width()), qMax(1, rect.height()), QImage::Format_RGB32);
        resized.fill(background);
        QPainter painter(&resized);
        painter.drawImage(0, 0, picture_);
        painter.end();
        picture_ = resized;
        layer_ = QImage();  // drawn for the former size
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    // The picture is stretched to the control.
    painter.drawImage(rect(), picture_);
    if (!layer_.isNull()) painter.drawImage(rect(), layer_);
}

// ---- MarkerShape ----------------------------------------------------------

MarkerShape::MarkerShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(kSize, kSize);
}

void MarkerShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::red);
    painter.drawEllipse(0, 0, width() - 1, height() - 1);
}

// ---- StatusPanels ---------------------------------------------------------

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    QFont bold = font();
    bold.setBold(true);
    const int widths[2] = {kErrorPanelWidth, kStatusPanelWidth};
    for (int i = 0; i < 3; ++i) {
        labels_[i] = new QLabel(this);
        labels_[i]->setFont(bold);
        labels_[i]->setTextFormat(Qt::PlainText);
        labels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        labels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
    }
    // The first panel has its own width, widened to show a long error text
    // whole; the status one starts at its width and takes whatever room is
    // left; the steps panel at the right end is as wide as its text.
    labels_[0]->setFixedWidth(widths[0]);
    labels_[1]->setMinimumWidth(widths[1]);
    addWidget(labels_[0], 0);
    addWidget(labels_[1], 1);
    addPermanentWidget(labels_[2], 0);
}

void StatusPanels::SetText(int panel, const std::string& text) {
    if (texts_[panel] == text) return;
    texts_[panel] = text;
    labels_[panel]->setText(QString::fromStdString(text));
    if (panel == 0) FitErrorPanel();
}

void StatusPanels::SetPanelWidths(int error, int status) {
    errorWidth_ = error;
    labels_[1]->setMinimumWidth(status);
    FitErrorPanel();
}

void StatusPanels::FitErrorPanel() {
    // The label's size hint is never below its fixed width: free it first.
    labels_[0]->setMinimumWidth(0);
    labels_[0]->setFixedWidth(qMax(errorWidth_, labels_[0]->sizeHint().width()));
}

// ---- ConstraintEditor -----------------------------------------------------

// Before a typed character is inserted, the format the next character gets
// is underlined for "<" and ">" and not underlined for anything else, so the
// relational signs read as "less or equal" and "greater or equal". Other
// format bits stay; the key itself goes on unchanged.
void RichEdit1KeyPress(QTextEdit& editor, QChar key, bool inserts) {
    QTextCursor cursor = editor.textCursor();
    if (cursor.hasSelection()) {
        // A key that inserts nothing (copy, backspace...) leaves the selected
        // text's format alone. A typed character replaces the selection;
        // remove it first so the new format applies to the inserted
        // character and not to the text going away.
        if (!inserts) return;
        cursor.removeSelectedText();
        editor.setTextCursor(cursor);
    }
    QTextCharFormat format = editor.currentCharFormat();
    format.setFontUnderline(key == QChar('<') || key == QChar('>'));
    editor.setCurrentCharFormat(format);
}

ConstraintEditor::ConstraintEditor(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::NoWrap);  // a constraint is one text block, shown as one line
    setTabChangesFocus(true);
}

int ConstraintEditor::LineCount() const { return document()->blockCount(); }

QString ConstraintEditor::Line(int k) const { return document()->findBlockByNumber(k).text(); }

void ConstraintEditor::SelectLine(int k) {
    setFocus(Qt::OtherFocusReason);
    QTextBlock block = document()->findBlockByNumber(k);
    if (!block.isValid()) return;
    QTextCursor cursor(document());
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void ConstraintEditor::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & Qt::ShiftModifier)) {
        // A soft line break would put two visible lines into one constraint;
        // every line break the user types starts a new constraint.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !isReadOnly()) {
        // Control with a letter is a command (copy, paste...), not typing.
        const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
        const bool command = mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier);
        RichEdit1KeyPress(*this, text.at(0), text.at(0).isPrint() && !command);
    }
    QTextEdit::keyPressEvent(event);
}

// ---- TextWidths ------------------------------------------------------------

TextWidths::TextWidths(const QFont& font) : font_(font), metrics_(font) {
    std::fill(std::begin(advances_), std::end(advances_), -1.0);
    // The characters of numbers and pivot marks: no ligatures among them.
    for (char c : std::string_view("0123456789.,-+*/E")) advances_[static_cast<unsigned char>(c)] = metrics_.horizontalAdvance(QChar(c));
    ellipsis_ = metrics_.horizontalAdvance(QChar(0x2026));
}

double TextWidths::Advance(const std::string& text) const {
    if (!font_.kerning()) {
        static constexpr std::string_view kEllipsis = "\u2026";
        double sum = 0;
        bool known = true;
        for (size_t k = 0; k < text.size() && known; ++k) {
            const auto code = static_cast<unsigned char>(text[k]);
            if (code < 128 && advances_[code] >= 0) {
                sum += advances_[code];
            } else if (std::string_view(text).substr(k, kEllipsis.size()) == kEllipsis) {
                sum += ellipsis_;
                k += kEllipsis.size() - 1;
            } else {
                known = false;
            }
        }
        if (known) return sum;
    }
    return metrics_.horizontalAdvance(QString::fromStdString(text));
}

// ---- TableauModel ---------------------------------------------------------

TableauModel::TableauModel(QObject* parent) : QAbstractTableModel(parent) {}

void TableauModel::SetCells(int rowCount, int colCount, std::vector<std::string> cells) {
    cells.resize(static_cast<size_t>(rowCount) * static_cast<size_t>(colCount));
    if (rowCount == rows_ && colCount == cols_) {
        // Same shape (every pivot): one change notice keeps the grid's
        // scroll position and current cell where the user left them.
        cells_.swap(cells);
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        return;
    }
    beginResetModel();
    rows_ = rowCount;
    cols_ = colCount;
    cells_.swap(cells);
    endResetModel();
}

const std::string& TableauModel::Cell(int col, int row) const {
    return cells_.at(static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col));
}

std::vector<int> TableauModel::ColumnWidths(const TextWidths& metrics, int extra, int minimum) const {
    std::vector<int> widths(static_cast<size_t>(cols_), minimum);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
            const std::string& text = Cell(c, r);
            if (text.empty()) continue;
            // Whole pixels up: the text is laid out at fractional advances.
            const double advance = text.size() <= kGridCellLimit ? metrics.Advance(text) : metrics.Advance(ShortenedCell(text));
            const int width = static_cast<int>(std::ceil(advance)) + extra;
            if (width > widths[static_cast<size_t>(c)]) widths[static_cast<size_t>(c)] = width;
        }
    return widths;
}

int TableauModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TableauModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

QVariant TableauModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::string& text = Cell(index.column(), index.row());
    // A number too long for the grid is cut visibly; its tooltip holds it whole.
    if (role == Qt::ToolTipRole) return text.size() > kGridCellLimit ? QString::fromStdString(text) : QVariant();
    if (role == Qt::DisplayRole) return QString::fromStdString(ShortenedCell(text));
    if (role == Qt::EditRole) return QString::fromStdString(text);
    return {};
}

bool TableauModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    // The user may type into the grid; the text is shown but never read back.
    if (!index.isValid() || role != Qt::EditRole) return false;
    cells_[static_cast<size_t>(index.row()) * static_cast<size_t>(cols_) + static_cast<size_t>(index.column())] =
        value.toString().toStdString();
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags TableauModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace optimara
