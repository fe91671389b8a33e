#include "settings/vexmarsettingsrows.h"

#include "controllers/tcomcontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingspage.h"
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

QVexmarMenuItem *newRow(QVexmarMenuItems *page, int id, int kind, const QString &title)
{
    auto *row = new QVexmarMenuItem(id, kind, page);
    row->layout->setContentsMargins(10, 0, 10, 0);
    row->titleLabel->setText(title);
    return row;
}

QVexmarMenuItem *indented(QVexmarMenuItem *row)
{
    row->layout->setContentsMargins(60, 0, 10, 0);
    return row;
}

QVexmarMenuItem *addHeader(QVexmarMenuItems *page, const QString &title)
{
    QVexmarMenuItem *row = newRow(page, -1, QVexmarMenuItem::Label, title);
    row->layout->setContentsMargins(10, 20, 10, 0);
    page->addItem(row);
    return row;
}

QVexmarMenuItem *addLocked(QVexmarMenuItems *page, QVexmarMenuItem *row, bool locked)
{
    row->setLocked(locked);
    page->addItem(row);
    return row;
}

QVexmarMenuItem *addSwitch(
    QVexmarMenuItems *page, int id, const QString &title, bool on, bool locked, const Options &options)
{
    QVexmarMenuItem *row = newRow(page, id, QVexmarMenuItem::Switch, title);
    for (const auto &[value, text] : options)
        row->addOption(value, text);
    row->setChecked(on);
    return addLocked(page, row, locked);
}

QVexmarMenuItem *addText(
    QVexmarMenuItems *page, int id, int kind, const QString &title, const std::string &latin1, bool locked)
{
    QVexmarMenuItem *row = newRow(page, id, kind, title);
    row->setValueText(latin1ToQString(latin1), false);
    return addLocked(page, row, locked);
}

QVexmarMenuItem *addUtf8Text(
    QVexmarMenuItems *page, int id, int kind, const QString &title, const std::string &utf8, bool locked)
{
    QVexmarMenuItem *row = newRow(page, id, kind, title);
    row->setValueText(utf8ToQString(utf8), false);
    return addLocked(page, row, locked);
}

QVexmarMenuItem *newChoice(QVexmarMenuItems *page, int id, const QString &title, const Options &options)
{
    QVexmarMenuItem *row = newRow(page, id, QVexmarMenuItem::Selection, title);
    for (const auto &[value, text] : options)
        row->addOption(value, text);
    return row;
}

QVexmarMenuItem *addChoice(
    QVexmarMenuItems *page, int id, const QString &title, const Options &options, int value, bool locked)
{
    QVexmarMenuItem *row = newChoice(page, id, title, options);
    row->selectOption(value, true, false);
    return addLocked(page, row, locked);
}

QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title)
{
    QVexmarMenuItem *row = newRow(page, id, kind, title);
    page->addItem(row);
    return row;
}

QVexmarMenuItem *addLeftOutNote(QVexmarMenuItems *page, int leftOut, int listed, int id)
{
    auto *note = new QVexmarMenuItem(id, QVexmarMenuItem::Label, page);
    note->layout->setContentsMargins(10, 10, 10, 0);
    page->addItem(note);
    showLeftOut(note, leftOut, listed);
    return note;
}

void showLeftOut(QVexmarMenuItem *note, int leftOut, int listed)
{
    note->titleLabel->setText(leftOut > 0
            ? QVexmarSettingsPage::tr("%1 more not listed: only the first %2 are").arg(leftOut).arg(listed)
            : QString());
    note->setVisible(leftOut > 0);
}

QVexmarMenuItem *addChoiceOrUnknown(
    QVexmarMenuItems *page, int id, const QString &title, const Options &options, int value, bool locked)
{
    if (value == -1)
        return addChoice(page, id, title, {{-1, QVexmarSettingsPage::tr("Unknown")}}, -1, true);
    return addChoice(page, id, title, options, value, locked);
}

QVexmarMenuItem *addStreamRow(QVexmarMenuItems *page, int qualityRow, int ajbRow, int quality, int ajb, bool locked)
{
    if (getDevice()->aoipController().jitterab()) {
        return addChoiceOrUnknown(page, ajbRow, QVexmarSettingsPage::tr("AJB Policy"),
            {{0, QVexmarSettingsPage::tr("Safe")}, {1, QVexmarSettingsPage::tr("Standard")},
                {2, QVexmarSettingsPage::tr("Punchy")}},
            ajb, locked);
    }
    return addChoiceOrUnknown(page, qualityRow, QVexmarSettingsPage::tr("Network Quality"),
        {{5, QVexmarSettingsPage::tr("Very High")}, {4, QVexmarSettingsPage::tr("High")},
            {3, QVexmarSettingsPage::tr("Middle")}, {2, QVexmarSettingsPage::tr("Low")},
            {1, QVexmarSettingsPage::tr("Bad")}, {0, QVexmarSettingsPage::tr("Very Bad")}},
        quality, locked);
}

QVexmarMenuItem *openRow(QVexmarMenuItems *page, int id)
{
    QVexmarMenuItem *row = page->findItem(id);
    return row && !row->isLocked() ? row : nullptr;
}

bool isOn(const QVexmarMenuItem *row)
{
    return row->switchButton && row->switchButton->isChecked();
}

std::string latin1Of(const QVexmarMenuItem *row)
{
    return row->valueLabel ? qStringToLatin1(row->valueLabel->text()) : std::string();
}

std::string utf8Of(const QVexmarMenuItem *row)
{
    return row->valueLabel ? qStringToUtf8(row->valueLabel->text()) : std::string();
}

bool chosenValue(QVexmarMenuItems *page, int id, int &value)
{
    return chosenValue(openRow(page, id), value);
}

bool chosenValue(const QVexmarMenuItem *row, int &value)
{
    const int current = row ? row->currentOption() : -1;
    if (current < 0 || current >= row->options().size())
        return false;
    value = row->options().at(current).value;
    return true;
}

bool choiceDiffers(QVexmarMenuItems *page, int id, int held)
{
    int value = 0;
    return chosenValue(page, id, value) && value != held;
}

bool textDiffers(QVexmarMenuItems *page, int id, const std::string &held)
{
    QVexmarMenuItem *row = openRow(page, id);
    return row && latin1Of(row) != held;
}

bool utf8TextDiffers(QVexmarMenuItems *page, int id, const std::string &held)
{
    QVexmarMenuItem *row = openRow(page, id);
    return row && utf8Of(row) != held;
}

bool switchDiffers(QVexmarMenuItems *page, int id, bool held)
{
    QVexmarMenuItem *row = openRow(page, id);
    return row && isOn(row) != held;
}

void lockRows(QVexmarMenuItems *page, std::initializer_list<int> ids, bool locked)
{
    for (int id : ids) {
        if (QVexmarMenuItem *row = page->findItem(id))
            row->setLocked(locked);
    }
}

bool fitsLatin1(const QVexmarMenuItem *row)
{
    return fitsLatin1(row->valueLabel ? row->valueLabel->text() : QString());
}

bool fitsLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

void holdValue(QVexmarMenuItem *row)
{
    int value = -1;
    if (row->kind() == QVexmarMenuItem::Switch)
        row->setProperty(heldProperty, int(isOn(row)));
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

bool decimalOf(const QVexmarMenuItem *row, qint64 &value)
{
    const QString text = row->valueLabel ? row->valueLabel->text() : QString();
    const bool negative = text.startsWith(QLatin1Char('-'));
    const int first = negative ? 1 : 0;
    if (text.size() == first)
        return false;
    constexpr qint64 ceiling = Q_INT64_C(1000000000000);
    qint64 number = 0;
    for (int at = first; at < text.size(); ++at) {
        const ushort c = text.at(at).unicode();
        if (c < '0' || c > '9')
            return false;
        number = std::min(number * 10 + (c - '0'), ceiling);
    }
    value = negative ? -number : number;
    return true;
}

bool isIpv4(const std::string &text)
{
    int parts = 0;
    size_t at = 0;
    for (;;) {
        int value = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
            value = value * 10 + (text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        if (++parts == 4)
            return at == text.size();
        if (at == text.size() || text[at] != '.')
            return false;
        ++at;
    }
}

bool storeEdits(QVexmarSettingsPage *menu, TComController *copy, Edits &edits)
{
    if (edits.keys.empty())
        return true;
    menu->showMessagePopup(QVexmarSettingsPage::tr("Applying changes..."), 1000);
    if (copy->store(edits.keys))
        return true;
    edits.revert();
    menu->showMessagePopup(QVexmarSettingsPage::tr("Failed to apply changes!"), 0);
    return false;
}

} // namespace settingsrows
