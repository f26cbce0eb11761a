// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the main window's controls stand at a zoom: beside one another as
// designed, or, zoomed in a window narrower than the zoomed design, in one
// column that scrolls up and down.
#include <QColor>
#include <QPoint>
#include <QSize>
#include <array>

class QWidget;

namespace optimara {

class PictureBox;

// The controls the layout places, by their design names.
struct WorkAreaControls {
    QWidget *Edit1, *Label1, *RichEdit1, *Button1, *Label4, *Button2, *ComboBox1;
    QWidget *StringGrid1, *ListBox3, *Label2, *ListBox2, *Label3, *Edit2;
    // "Por Defecto" and the six turning buttons, in design order 9, 7, 8, 5, 6, 3, 4.
    std::array<QWidget*, 7> viewButtons;
    PictureBox* Image1;
    QWidget* WorkArea;
};

class WorkAreaLayout {
public:
    WorkAreaLayout(const WorkAreaControls& controls, QSize designClient) : c_(controls), design_(designClient) {}

    // The objective, the constraints, their captions and the two buttons at
    // their design places grown by the zoom.
    void PlaceProblem(int percent);
    // The least the work area takes at the zoom; a smaller window scrolls.
    QSize Minimum(int percent, int statusHeight) const;
    // The whole work area in a client of that size; `bar` is a scroll bar's
    // breadth, `scrollsDown` whether the work area may show one down its side.
    void Arrange(QSize client, int percent, int statusHeight, int bar, bool scrollsDown, QColor face);

private:
    void SideBySide(QSize client, int percent, int statusHeight, int bar, bool scrollsDown, QColor face);
    void Column(int width, int height, int percent, QColor face);
    void PlaceViewButtons(QPoint corner, int percent);
    void PlaceResults(QPoint corner, int width, int percent);

    WorkAreaControls c_;
    QSize design_;
};

} // namespace optimara
