// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuPlaces.h"

#include <algorithm>
#include <stdexcept>

namespace optimara {

void MenuPlaces::Define(MenuPlace place, QWidget* menu, QAction* before) {
    places_.push_back(Place{place, menu, before, {}});
}

MenuPlaces::Place& MenuPlaces::Find(MenuPlace place) {
    const auto at = std::find_if(places_.begin(), places_.end(), [place](const Place& p) { return p.name == place; });
    if (at == places_.end()) throw std::logic_error("a menu place the window does not have");
    return *at;
}

const MenuPlaces::Place& MenuPlaces::Find(MenuPlace place) const { return const_cast<MenuPlaces*>(this)->Find(place); }

QWidget* MenuPlaces::Menu(MenuPlace place) const { return Find(place).menu; }

void MenuPlaces::Insert(MenuPlace place, QAction* item) {
    Place& own = Find(place);
    // The item goes before whichever comes first in the menu: the window's
    // item that ends its place (several places may end at the same one) or
    // the first item of a later place of the same menu; else last.
    const QList<QAction*> items = own.menu->actions();
    QAction* before = own.before;
    const auto earlier = [&](QAction* a) { return !before || items.indexOf(a) < items.indexOf(before); };
    for (auto p = places_.begin() + (&own - places_.data()) + 1; p != places_.end(); ++p)
        if (p->menu == own.menu && !p->items.empty() && earlier(p->items.front())) before = p->items.front();
    own.menu->insertAction(before, item);
    own.items.push_back(item);
}

} // namespace optimara
