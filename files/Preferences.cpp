// SPDX-License-Identifier: GPL-3.0-or-later
#include "Preferences.h"

#include <QSettings>

namespace optimara::files {
Preferences ReadPreferences() {
    const QSettings store("Optimara", "Optimara");
    Preferences p;
    const int rule = store.value("pasos/regla", p.pivotRule).toInt();
    p.pivotRule = rule >= 0 && rule <= 2 ? rule : 0;
    p.explanation = store.value("pasos/explicacion", p.explanation).toBool();
    p.slackNames = store.value("notacion/holguras", p.slackNames).toBool();
    p.exact = store.value("notacion/exacta", p.exact).toBool();
    p.integers = store.value("imagen/enteros", p.integers).toBool();
    return p;
}

void WritePreferences(const Preferences& p) {
    QSettings store("Optimara", "Optimara");
    store.setValue("pasos/regla", p.pivotRule);
    store.setValue("pasos/explicacion", p.explanation);
    store.setValue("notacion/holguras", p.slackNames);
    store.setValue("notacion/exacta", p.exact);
    store.setValue("imagen/enteros", p.integers);
}

} // namespace optimara::files
