// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The named places of the window's menus: each is a run of items in one
// menu (or the menu bar), before the window's own item that follows it, if
// any. Items put in a place stand after those already there and before the
// next place's, whatever order they were put in.
#include <QAction>
#include <QWidget>
#include <map>
#include <vector>

#include "FeatureHost.h"

namespace optimara {

class MenuPlaces {
public:
    // Places are defined in their menu's order.
    void Define(MenuPlace place, QWidget* menu, QAction* before = nullptr);
    QWidget* Menu(MenuPlace place) const;
    void Insert(MenuPlace place, QAction* item);

private:
    struct Place {
        MenuPlace name;
        QWidget* menu;
        QAction* before;
        std::vector<QAction*> items;
    };
    std::vector<Place> places_;
    Place& Find(MenuPlace place);
    const Place& Find(MenuPlace place) const;
};

} // namespace optimara
