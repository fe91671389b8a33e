#pragma once

// What the branch pages of the settings menu share in building, comparing and applying their rows: rows made with
// the page's margins, the rows a change test reads (present and not locked), the edits of an apply that a refused
// store takes back, and for the pages written at once their reads and the value a refused edit goes back to.

#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuwidget.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class QVexmarSettingsPage;
class TComController;
class TComRpcAccess;

namespace settingsrows {

using Options = std::vector<std::pair<int, QString>>;

// A row with the margins 10, 0, 10, 0, not yet on its page.
QVexmarMenuItem *newRow(QVexmarMenuItems *page, int id, int kind, const QString &title);
// Moved in under a header: margins 60, 0, 10, 0.
QVexmarMenuItem *indented(QVexmarMenuItem *row);
// A header row (id -1, never locked) with the margins 10, 20, 10, 0; an empty title makes a spacer.
QVexmarMenuItem *addHeader(QVexmarMenuItems *page, const QString &title);
QVexmarMenuItem *addLocked(QVexmarMenuItems *page, QVexmarMenuItem *row, bool locked);
// A switch with two option texts shows option 1's when on, option 0's when off.
QVexmarMenuItem *addSwitch(
    QVexmarMenuItems *page, int id, const QString &title, bool on, bool locked, const Options &options = {});
QVexmarMenuItem *addText(
    QVexmarMenuItems *page, int id, int kind, const QString &title, const std::string &latin1, bool locked);
// A device text held as the bytes that came, shown as UTF-8.
QVexmarMenuItem *addUtf8Text(
    QVexmarMenuItems *page, int id, int kind, const QString &title, const std::string &utf8, bool locked);
QVexmarMenuItem *newChoice(QVexmarMenuItems *page, int id, const QString &title, const Options &options);
QVexmarMenuItem *addChoice(
    QVexmarMenuItems *page, int id, const QString &title, const Options &options, int value, bool locked);
// A new row added to the end of the page.
QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title);
// Under a device list cut at its bound: how many entries it leaves out, hidden while it leaves out none. A note that
// a later load of its list updates gets an id to be found by (showLeftOut); -1 for one never looked up.
QVexmarMenuItem *addLeftOutNote(QVexmarMenuItems *page, int leftOut, int listed, int id = -1);
void showLeftOut(QVexmarMenuItem *note, int leftOut, int listed);
// A value never read shows as "Unknown", alone and locked, so that it is never stored.
QVexmarMenuItem *addChoiceOrUnknown(
    QVexmarMenuItems *page, int id, const QString &title, const Options &options, int value, bool locked);
// "Network Quality" while the device's jitter buffer is fixed, "AJB Policy" while it is adaptive.
QVexmarMenuItem *addStreamRow(QVexmarMenuItems *page, int qualityRow, int ajbRow, int quality, int ajb, bool locked);

// Present and not locked: the rows a change test compares and an apply stores.
QVexmarMenuItem *openRow(QVexmarMenuItems *page, int id);
bool isOn(const QVexmarMenuItem *row);
std::string latin1Of(const QVexmarMenuItem *row);
std::string utf8Of(const QVexmarMenuItem *row);
// The value of the current option; false for a row without one (-1 is a value like another).
bool chosenValue(QVexmarMenuItems *page, int id, int &value);
// The same of any row, locked or not; false for none.
bool chosenValue(const QVexmarMenuItem *row, int &value);
bool choiceDiffers(QVexmarMenuItems *page, int id, int held);
bool textDiffers(QVexmarMenuItems *page, int id, const std::string &held);
bool utf8TextDiffers(QVexmarMenuItems *page, int id, const std::string &held);
bool switchDiffers(QVexmarMenuItems *page, int id, bool held);
void lockRows(QVexmarMenuItems *page, std::initializer_list<int> ids, bool locked);
// A text the device would store altered: one that Latin-1 cannot hold (it would travel as '?').
bool fitsLatin1(const QVexmarMenuItem *row);
bool fitsLatin1(const QString &text);
// The text as a decimal integer (an optional '-', then digits only); false for any other text. Far too many digits
// stay a number, beyond any range a caller checks.
bool decimalOf(const QVexmarMenuItem *row, qint64 &value);

// Pages written at once: the row's value as it shows now is what the device holds, and a refused edit puts it
// back with "Failed to apply changes!".
void holdValue(QVexmarMenuItem *row);
void refuseEdit(QVexmarSettingsPage *page, QVexmarMenuItem *row);

using Values = std::map<std::string, std::string>;
// One GET of the names on the target, 5000 ms, the answers added to values: a name the device has not set enters
// empty, one it did not answer stays missing. False when nothing came.
bool readValues(TComRpcAccess *rpc, const std::string &target, const std::vector<std::string> &names, Values &values);
// Null when missing.
const std::string *valueOf(const Values &values, const std::string &key);

// The keys of an apply, and how to give the edited object back what each setter replaced: a refused store must
// leave it as it was, or a retry would find nothing changed and report success with nothing sent.
class Edits
{
public:
    // The setter gets now without sending; held is what the object had.
    template<class Target, class Arg>
    void change(const std::string &key, Target *target, bool (Target::*setter)(Arg, bool), std::decay_t<Arg> held,
        std::decay_t<Arg> now)
    {
        keys.push_back(key);
        m_undo.push_back([target, setter, held] { (target->*setter)(held, false); });
        (target->*setter)(now, false);
    }
    // For setters of more arguments: set makes the change without sending, undo gives back what was held.
    void change(const std::string &key, const std::function<void()> &set, std::function<void()> undo)
    {
        keys.push_back(key);
        m_undo.push_back(std::move(undo));
        set();
    }

    void revert()
    {
        for (auto undo = m_undo.rbegin(); undo != m_undo.rend(); ++undo)
            (*undo)();
        m_undo.clear();
    }

    std::vector<std::string> keys;

private:
    std::vector<std::function<void()>> m_undo;
};

// The rows of a page that differ from what an edited object holds, walked in the order of the apply; with edits,
// each is also set on the object without sending. Absent and locked rows, choices and two-number switches without a
// current option and numbers that are no decimal integer count as unchanged. A number outside its range or a text
// beyond Latin-1 for a Latin-1 field counts as changed but is refused, never set.
class RowChanges
{
public:
    RowChanges(QVexmarMenuItems *page, Edits *edits) : m_page(page), m_edits(edits) { }

    template<class Target>
    void toggle(int id, const std::string &key, Target *target, bool (Target::*setter)(bool, bool), bool held)
    {
        if (switchDiffers(m_page, id, held))
            note(key, target, setter, held, !held);
    }
    // A switch that stands for one of two numbers by its two options. While it shows a held value that neither
    // stands for, no option is current.
    template<class Target>
    void toggle(
        int id, const std::string &key, Target *target, bool (Target::*setter)(int, bool), int held, int off, int on)
    {
        const QVexmarMenuItem *row = openRow(m_page, id);
        if (row && !row->options().isEmpty() && row->currentOption() == -1)
            return;
        const int value = row && isOn(row) ? on : off;
        if (row && value != held)
            note(key, target, setter, held, value);
    }
    template<class Target>
    void choice(int id, const std::string &key, Target *target, bool (Target::*setter)(int, bool), int held)
    {
        int value = 0;
        if (chosenValue(m_page, id, value) && value != held)
            note(key, target, setter, held, value);
    }
    template<class Target>
    void text(int id, const std::string &key, Target *target, bool (Target::*setter)(const std::string &, bool),
        const std::string &held)
    {
        if (!textDiffers(m_page, id, held))
            return;
        const QVexmarMenuItem *row = m_page->findItem(id);
        if (fitsLatin1(row))
            note(key, target, setter, held, latin1Of(row));
        else
            refuse();
    }
    // A UTF-8 field takes any text.
    template<class Target>
    void utf8Text(int id, const std::string &key, Target *target, bool (Target::*setter)(const std::string &, bool),
        const std::string &held)
    {
        if (utf8TextDiffers(m_page, id, held))
            note(key, target, setter, held, utf8Of(m_page->findItem(id)));
    }
    template<class Target>
    void number(int id, const std::string &key, Target *target, bool (Target::*setter)(int, bool), int held, int lowest,
        int highest)
    {
        const QVexmarMenuItem *row = openRow(m_page, id);
        qint64 value = 0;
        if (!row || !decimalOf(row, value) || value == held)
            return;
        if (value >= lowest && value <= highest)
            note(key, target, setter, held, int(value));
        else
            refuse();
    }
    template<class Target, class Arg>
    void note(const std::string &key, Target *target, bool (Target::*setter)(Arg, bool), std::decay_t<Arg> held,
        std::decay_t<Arg> now)
    {
        m_changed = true;
        if (m_edits)
            m_edits->change(key, target, setter, held, now);
    }

    bool changed() const { return m_changed; }
    bool refused() const { return m_refused; }

private:
    void refuse()
    {
        m_changed = true;
        m_refused = true;
    }

    QVexmarMenuItems *m_page;
    Edits *m_edits;
    bool m_changed = false;
    bool m_refused = false;
};

// Four decimal numbers of 0-255 between dots, nothing else.
bool isIpv4(const std::string &text);
// The common end of an interface page's apply: the edits stored on the copy behind "Applying changes...", given
// back on a refusal. Nothing changed is success without a request.
bool storeEdits(QVexmarSettingsPage *menu, TComController *copy, Edits &edits);

} // namespace settingsrows
