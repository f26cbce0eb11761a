// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a feature of the window sees of it: the problem and its solve, the
// notation and the zoom, named places in the menus, the band under the work
// area and the status panels. The window implements it; a feature knows no
// other part of the window, nor any other feature.
#include <QString>
#include <string>

#include "AppState.h"
#include "Controls.h"
#include "Plot.h"

class QAbstractItemView;
class QAction;
class QMenu;
class QObject;
class QWidget;

namespace optimara::files {
struct ProblemDocument;
}

namespace optimara {

class Questions;

// The places a feature puts its menu items in, named rather than reached
// through another feature's item, in the order they stand in their menu.
enum class MenuPlace {
    BarLearning,        // a menu of the bar after "&Notación"
    BarView,            // a menu of the bar after "&Imagen"
    FileNew,            // "&Archivo", right under "&Abrir": new problems
    FileExports,        // "&Archivo", right under "Guardar &Como...": the steps,
    FileSolverExports,  //   then the problem for other solvers
    NotationOptions,    // the end of "&Notación"
    StepsMoves,         // the menu of the steps: going over them,
    StepsPivot,         //   choosing the pivot,
    StepsMethods,       //   the methods,
    StepsExplanation,   //   explaining them,
    StepsAnalysis,      //   what the optimum says,
    StepsSearch,        //   the integer search
    ImageLayers,        // "&Imagen", right under "&Ver eje 3D": what is
    ImageOverPath,      //   drawn over the picture, the method's road first,
    ImageSearch,        //   the integer search's last
};

class FeatureHost {
public:
    virtual ~FeatureHost() = default;

    // The problem and its solve as they stand; whether the solve went
    // without an error.
    virtual AppState& State() = 0;
    virtual bool ErrorFree() const = 0;
    // The problem as typed.
    virtual ProblemText ReadProblemText() const = 0;
    virtual bool Maximizing() const = 0;
    // What runs the session's operations on the window: the panels, the
    // picture and the tableau they show, and the questions they ask.
    virtual NodeSolveHost& Solver() = 0;
    // Solves the typed problem anew, as "Una Solución" does; one step, as
    // "Paso a paso" does.
    virtual void SolveAgain() = 0;
    virtual void StepAgain() = 0;
    // The heading the problem's file gave its lines.
    virtual std::string ProblemCaption() const = 0;
    // Puts a problem in place of the one on screen, as opening a file does.
    virtual void ReplaceProblem(const files::ProblemDocument& problem, const QString& fileName) = 0;
    // Puts a new problem in place of the one on screen, untitled and not yet
    // saved, and solves it, as one typed anew.
    virtual void PutNewProblem(const ProblemText& problem) = 0;
    // Whether the problem on screen may be replaced: unsaved work was saved
    // or let go, as before opening a file; false when the user cancelled.
    virtual bool MayReplaceProblem() = 0;
    // Shows the tableau on screen again, after a change in how it reads.
    virtual void ShowTableau() = 0;
    // Shows where the steps stand: the status panel, the picture's layers
    // and every feature's aids.
    virtual void ShowStepAids() = 0;
    // Shows the problem state anew, as a build shows it: the names, the
    // picture and the tableau, the first of a page of steps.
    virtual void ShowProblemAnew() = 0;
    // Tells the features of a grid cell that cannot be the pivot.
    virtual void RefusePivot(int gridRow, int gridCol) = 0;

    // How numbers are written, and how large the results and lines are.
    virtual bool Floating() const = 0;
    virtual const std::string& DecimalSeparator() const = 0;
    virtual int Zoom() const = 0;
    // A new zoom: the window and every feature show their texts at it.
    virtual void ShowZoom(int percent) = 0;

    // Menus and items at a named place; the item or menu belongs to the menu.
    virtual QAction* AddMenuItem(MenuPlace place, const QString& caption, const QString& name) = 0;
    virtual void AddMenuSeparator(MenuPlace place) = 0;
    virtual QMenu* AddMenu(MenuPlace place, const QString& title, const QString& name) = 0;

    // The tableau's grid.
    virtual QAbstractItemView* Grid() = 0;
    // The picture showing, the work area's or the enlarged one, whose layer
    // carries what is drawn over the plot.
    virtual PictureBox* ShowingPicture() const = 0;
    // The band under the work area: it holds one widget, shown while the
    // work area is and the feature wants it.
    virtual void PlaceBand(QWidget* band) = 0;
    virtual void ShowBand(bool wanted) = 0;
    virtual StatusPanels& Status() = 0;

    // The window, parent of a feature's own windows and dialogs, and the
    // questions it asks the user.
    virtual QWidget* Window() = 0;
    virtual Questions& Ask() = 0;
    // Whether the work area shows (the picture is not enlarged over it).
    virtual bool WorkAreaVisible() const = 0;
    // The picture's colours; the pictures' layers drawn again, every
    // feature's included.
    virtual PlotColors Colors() const = 0;
    virtual void DrawLayers() = 0;
};

} // namespace optimara
