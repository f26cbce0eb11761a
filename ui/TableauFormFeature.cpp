// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableauFormFeature.h"

#include <QActionGroup>
#include <QMenu>
#include <QSettings>

namespace optimara {

namespace {

constexpr char kFormKey[] = "notacion/forma";

struct FormItem {
    TableauForm form;
    const char* caption;
    const char* name;
};
const std::array<FormItem, 4> kItems = {{
    {TableauForm::Compact, "&Compacta", "FormCompact1"},
    {TableauForm::Full, "Com&pleta (libro de texto)", "FormFull1"},
    {TableauForm::Dictionary, "&Diccionario", "FormDictionary1"},
    {TableauForm::Matrix, "&Matricial (B⁻¹)", "FormMatrix1"},
}};

TableauForm StoredForm() {
    const int stored = QSettings("Optimara", "Optimara").value(kFormKey, 0).toInt();
    return stored >= 0 && stored < int(kItems.size()) ? TableauForm(stored) : TableauForm::Compact;
}

} // namespace

TableauFormFeature::TableauFormFeature(FeatureHost& host) : Feature(host) {
    setObjectName("TableauFormFeature");
    const TableauForm stored = StoredForm();
    host_.State().form = stored;
    host_.AddMenuSeparator(MenuPlace::NotationOptions);
    TableFormMenu1 = host_.AddMenu(MenuPlace::NotationOptions, "Forma de la &tabla", "TableFormMenu1");
    auto* group = new QActionGroup(TableFormMenu1);
    group->setExclusive(true);
    for (const FormItem& f : kItems) {
        QAction* item = TableFormMenu1->addAction(QString::fromUtf8(f.caption));
        item->setObjectName(f.name);
        item->setCheckable(true);
        item->setChecked(f.form == stored);
        group->addAction(item);
        items_[size_t(f.form)] = item;
        OnTrigger(item, [this, form = f.form] { Choose(form); });
    }
}

void TableauFormFeature::Choose(TableauForm form) {
    items_[size_t(form)]->setChecked(true);
    host_.State().form = form;
    QSettings("Optimara", "Optimara").setValue(kFormKey, int(form));
    host_.ShowTableau();
}

} // namespace optimara
