#include "settings/vexmarsettingsrows.h"

#include "controllers/tcomrpcaccess.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingspage.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarcontrols.h"

#include <QGridLayout>
#include <QVariant>

#include <algorithm>

namespace {

constexpr int requestTimeoutMs = 5000;
const char heldProperty[] = "heldValue";

bool isTyped(const QVexmarMenuItem *row)
{
    return row->kind() == QVexmarMenuItem::Text || row->kind() == QVexmarMenuItem::Password;
}

} // namespace

namespace settingsrows {

QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title, int left)
{
    auto *row = new QVexmarMenuItem(id, kind, page);
    row->layout->setContentsMargins(left, 0, 10, 0);
    row->titleLabel->setText(title);
    page->addItem(row);
    return row;
}

bool chosenValue(const QVexmarMenuItem *row, int &value)
{
    const int current = row ? row->currentOption() : -1;
    if (current < 0 || current >= row->options().size())
        return false;
    value = row->options().at(current).value;
    return true;
}

void holdValue(QVexmarMenuItem *row)
{
    int value = -1;
    if (row->kind() == QVexmarMenuItem::Switch)
        row->setProperty(heldProperty, int(row->switchButton->isChecked()));
    else if (isTyped(row))
        row->setProperty(heldProperty, row->valueLabel->text());
    else if (chosenValue(row, value))
        row->setProperty(heldProperty, value);
}

void refuseEdit(QVexmarSettingsPage *page, QVexmarMenuItem *row)
{
    const QVariant held = row->property(heldProperty);
    if (isTyped(row))
        page->setImmediately(row, false, held.toString());
    else
        page->setImmediately(row, false, held.toInt());
}

bool fitsLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

bool readValues(TComRpcAccess *rpc, const std::string &target, const std::vector<std::string> &names, Values &values)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, target);
    for (const std::string &name : names)
        request.addGet(name);
    Values answered;
    Values errors;
    if (rpc->getParams(request, answered, errors, requestTimeoutMs) < 0)
        return false;
    for (const auto &[name, value] : answered)
        values.try_emplace(name, value);
    return true;
}

const std::string *valueOf(const Values &values, const std::string &key)
{
    const auto found = values.find(key);
    return found == values.end() ? nullptr : &found->second;
}

} // namespace settingsrows
