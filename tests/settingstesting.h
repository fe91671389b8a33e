#pragma once

// The settings page inside the screen window, logged in against the simulated device (screentesting.h's set-up):
// open it by page id or menu path, push the rows of a branch with their ids, touch rows and header icons, answer
// the popup that is open and read what it says, read a row as the user sees it, and the frames the device got.

#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "settings/vexmarsettingspage.h"
#include "tests/screentesting.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarvirtual.h"

#include <QPalette>

#include <utility>

namespace settingstesting {

using screentesting::body;
using screentesting::fault;

// The Coding branch's side of the device: the relay off, the Opus bit rate adaptation with its lists, and the
// codec's lists of algorithms, channel modes, rates and bit rates, each for given values of the request's other keys
// ("<list> <key>=<value>,... :<items>"): a few algorithms, an empty rate list, no list of AAC-he's joint stereo bit
// rates.
inline void loadCodingSetup(SimDevice &device)
{
    device.loadSetup("audio relay=off\naudio abr_calls=on\naudio abr_profile=punchy\naudio abr_minbr=24000\n"
                     "audio abr_maxbr=96000\naudio abr_profile=[safe,standard,punchy]\n"
                     "audio abr_minbr=[12000,24000,32000]\naudio abr_maxbr=[64000,96000,128000]\n");
    static const char *const lists[] = {"alg codec_mode=single_codec :PCMA,G722,OPUS,AAC-he",
        "alg codec_mode=double_codec :G722,OPUS", "mode alg=PCMA :mono", "mode alg=G722 :mono",
        "mode alg=OPUS :mono,stereo", "mode alg=AAC-he :stereo,jstereo", "mode alg=AAC-ld :stereo",
        "samplerate alg=OPUS,mode=stereo :48000,24000", "samplerate alg=OPUS,mode=mono :48000",
        "samplerate alg=AAC-he,mode=stereo :48000,44100",
        "samplerate alg=AAC-he,mode=jstereo :", "samplerate alg=AAC-ld,mode=stereo :48000",
        "bitrate alg=OPUS,mode=stereo,samplerate=48000 :128000,96000,64000",
        "bitrate alg=OPUS,mode=mono,samplerate=48000 :64000,32000",
        "bitrate alg=AAC-he,mode=stereo,samplerate=48000 :64000,48000",
        "bitrate alg=PCMA,mode=mono,samplerate=48000 :64000", "bitrate alg=G722,mode=mono,samplerate=48000 :64000",
        "bitrate alg=AAC-ld,mode=stereo,samplerate=48000 :96000,64000"};
    for (const char *line : lists) {
        const QList<QByteArray> parts = QByteArray(line).split(' ');
        std::vector<std::pair<std::string, std::string>> when;
        for (const QByteArray &pair : parts.at(1).split(','))
            when.emplace_back(
                pair.left(pair.indexOf('=')).toStdString(), pair.mid(pair.indexOf('=') + 1).toStdString());
        std::vector<std::string> items;
        for (const QByteArray &item : parts.at(2).mid(1).split(','))
            if (!item.isEmpty())
                items.push_back(item.toStdString());
        device.setListFor("audio", parts.at(0).toStdString(), when, items);
    }
}

class SettingsRig : public screentesting::ScreenRig
{
public:
    SettingsRig()
    {
        QObject::connect(&device, &SimDevice::requestReceived, [this](const RpcMessage &request) {
            m_timeouts << getCom()->connection().pendingCall(request.id()).timeout();
        });
    }
    // The time-out in ms each request had while it was pending, since the last take.
    QList<qint64> takeTimeouts() { return std::exchange(m_timeouts, {}); }

    // Logged in at the level, the set-up done and the log empty; the window shown, on the home page.
    bool startSettings(int level = 2)
    {
        g_accessLevel = level;
        if (!startSetUp())
            return false;
        window->show();
        page()->exitPage = QVexmar::HomePage;
        return true;
    }

    QVexmarSettingsPage *page() const { return window->settingsPage(); }

    // Through the screen window, as the other pages open the menu; true when the settings page is then shown.
    bool openPageId(int pageId)
    {
        window->pageActivated(QVexmar::Page(pageId));
        return window->currentPage() == QVexmar::SettingsPage;
    }
    // A top-level entry touched in the list.
    void touchEntry(int entryId)
    {
        QVexmarMenuEntry *entry = page()->entries->findEntry(entryId);
        page()->entries->itemClicked(entry->titleLabel);
    }

    // A page of a branch not built here, pushed as its builder would: rows are added with addRow.
    QVexmarMenuItems *pushPage(int pageId, int groupId = -1, const QString &title = QString())
    {
        auto *items = new QVexmarMenuItems(pageId, groupId, page());
        page()->pushItems(items);
        page()->path.append(title.isEmpty() ? QString::number(pageId) : title);
        page()->header->titleLabel->setText(page()->path.join(QStringLiteral(" > ")));
        page()->header->setBackVisible(page()->path.size() > 1);
        return items;
    }
    QVexmarMenuItem *addRow(
        QVexmarMenuItems *items, int id, int kind, const QString &title = QString(), int groupId = -1)
    {
        auto *row = new QVexmarMenuItem(id, groupId, kind, items);
        row->titleLabel->setText(title.isEmpty() ? QString::number(id) : title);
        items->addItem(row);
        return row;
    }
    QVexmarMenuItems *current() const { return page()->currentItems(); }
    // The row on the current page; null when missing.
    QVexmarMenuItem *row(int id) const { return current() ? current()->findItem(id) : nullptr; }

    // A touch on the row as the user gives it: locked rows ignore it, the kind decides what opens.
    void touch(QVexmarMenuItem *item) { item->page()->itemClicked(item->titleLabel); }
    void touch(int id) { touch(row(id)); }
    void back() { page()->header->iconClicked(page()->header->backIcon); }
    void apply() { page()->header->iconClicked(page()->header->checkIcon); }
    void refresh() { page()->header->iconClicked(page()->header->refreshIcon); }
    bool modified() const { return page()->header->isModified(); }

    // The popup open over the screen, newest first: a message, a selection or a keyboard; null when none.
    QVexmarPopup *popup() const
    {
        const QList<QVexmarPopup *> popups = window->findChildren<QVexmarPopup *>();
        for (auto it = popups.crbegin(); it != popups.crend(); ++it) {
            if ((*it)->isVisible())
                return *it;
        }
        return nullptr;
    }
    // What it says: a message's text, a selection's "title: option, *current option, ...", a keyboard's
    // "title [text]". Empty when none is open.
    QString popupText() const
    {
        QVexmarPopup *open = popup();
        if (auto *message = qobject_cast<QVexmarMessage *>(open))
            return message->text;
        if (auto *selection = qobject_cast<QVexmarMenuSelect *>(open)) {
            QStringList lines;
            for (auto *line : selection->findChildren<QVexmarMenuSelectable *>())
                lines << (line == selection->current() ? QStringLiteral("*") : QString()) + line->label->text();
            return selection->titleLabel->text() + QStringLiteral(": ") + lines.join(QStringLiteral(", "));
        }
        if (auto *keyboard = qobject_cast<QVexmarVirtual *>(open))
            return keyboard->titleLabel.text() + QStringLiteral(" [") + keyboard->lineEdit.text() + QLatin1Char(']');
        return QString();
    }
    // Whether the open message goes by itself after a time, rather than staying until the user closes it.
    bool popupClosesItself() const
    {
        auto *message = qobject_cast<QVexmarMessage *>(popup());
        return message && (message->timer.isActive() || message->autoCloseMsec > 0);
    }
    // OK or Cancel on the open popup (a selection first chooses the option of this value, when given; a keyboard
    // first takes the text, when given). False when no popup with that button is open.
    bool answer(bool ok, int chooseValue = -1, const QString &typed = QString())
    {
        QVexmarPopup *open = popup();
        if (auto *message = qobject_cast<QVexmarMessage *>(open)) {
            QVexmarButton *button = ok ? message->okButton : message->cancelButton;
            if (!button)
                return false;
            QTest::mouseClick(button, Qt::LeftButton);
            return true;
        }
        if (auto *selection = qobject_cast<QVexmarMenuSelect *>(open)) {
            if (QVexmarMenuSelectable *line = selection->findSelectable(chooseValue))
                QTest::mouseClick(line->switchButton, Qt::LeftButton);
            QTest::mouseClick(ok ? selection->okButton : selection->cancelButton, Qt::LeftButton);
            return true;
        }
        if (auto *keyboard = qobject_cast<QVexmarVirtual *>(open)) {
            if (!typed.isNull())
                keyboard->lineEdit.setText(typed);
            QTest::mouseClick(keyboard->keys[ok ? 31 : 28], Qt::LeftButton);
            return true;
        }
        return false;
    }
    // Closes every popup left open, unanswered.
    void closePopups()
    {
        for (QVexmarPopup *open : window->findChildren<QVexmarPopup *>())
            open->close();
        QCoreApplication::processEvents();
    }

    // A row as shown: "<title> | <value text>" and, when it has options, " | a, *b, c" with the current one marked.
    static QString rowText(const QVexmarMenuItem *item)
    {
        if (!item)
            return QStringLiteral("missing");
        QString text = item->titleLabel->text();
        if (item->valueLabel)
            text += QStringLiteral(" | ") + item->valueLabel->text();
        QStringList options;
        for (int i = 0; i < item->options().size(); ++i)
            options << (i == item->currentOption() ? QStringLiteral("*") : QString()) + item->options().at(i).text;
        if (!options.isEmpty())
            text += QStringLiteral(" | ") + options.join(QStringLiteral(", "));
        return text;
    }
    QString rowText(int id) const { return rowText(row(id)); }
    // "red", "blue", "grey", "white" or the colour's name, of the value text.
    static QString rowColour(const QVexmarMenuItem *item)
    {
        if (!item || !item->valueLabel)
            return QStringLiteral("none");
        const QColor colour = item->valueLabel->palette().color(QPalette::WindowText);
        if (colour == QColor(Qt::red))
            return QStringLiteral("red");
        if (colour == QColor(0, 162, 232))
            return QStringLiteral("blue");
        if (colour == QColor(127, 127, 127))
            return QStringLiteral("grey");
        return colour.name();
    }

    // The ids of the pages on the stack, bottom first, each with ":<group>" when it has one.
    QString pages() const
    {
        QStringList ids;
        for (int i = 0; i < page()->stack->count(); ++i) {
            auto *items = qobject_cast<QVexmarMenuItems *>(page()->stack->widget(i));
            if (items)
                ids << QString::number(items->pageId)
                        + (items->groupId != -1 ? QLatin1Char(':') + QString::number(items->groupId) : QString());
        }
        return ids.join(QLatin1Char(' '));
    }

    // A call set up on the interface through the device's own events, as the call pages see one.
    bool callOn(const QByteArray &network, int id = 9)
    {
        return deliver(
            {"EVENT;event_type:0600-call received;id:" + QByteArray::number(id) + ";network:" + network + ";"});
    }

private:
    QList<qint64> m_timeouts;
};

// The device's next answers to requests that hold a word, each "<word> <reply body>"; an empty body is the normal
// answer.
inline void answerNext(SettingsRig &rig, const QByteArrayList &replies)
{
    for (const QByteArray &reply : replies) {
        const QByteArray body = reply.mid(reply.indexOf(' ') + 1);
        SimDevice::Fault next = body.isEmpty() ? fault(SimDevice::Fault::Answer) : rpctesting::script({body});
        next.match = reply.left(reply.indexOf(' ')).toStdString();
        rig.device.addFault(next);
    }
}

// Each row of the current page as "<id> <value>" (a header as "-1 <title>"), with " L" when locked, " red" for
// a red value and " hidden" for a hidden row; only the rows of the ids given, when given.
inline QString rowsShown(SettingsRig &rig, const QList<int> &ids = {})
{
    QStringList rows;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (!ids.isEmpty() && !ids.contains(item->id))
            continue;
        rows << QString::number(item->id) + QLatin1Char(' ')
                + (item->valueLabel ? item->valueLabel->text() : item->titleLabel->text())
                + (item->isLocked() ? QStringLiteral(" L") : QString())
                + (SettingsRig::rowColour(item) == QLatin1String("red") ? QStringLiteral(" red") : QString())
                + (item->isHidden() ? QStringLiteral(" hidden") : QString());
    }
    return rows.join(QStringLiteral("; "));
}

inline QString lockedRows(SettingsRig &rig)
{
    QStringList ids;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (item->isLocked())
            ids << QString::number(item->id);
    }
    return ids.join(QLatin1Char(' '));
}

// Steps separated by ';': "flip <row>" turns a switch, "type <row>=<text>" edits a text, "append <row>=<text>" types
// after the text the keyboard opens on, "pick <row> <value>" chooses an option, each as the user does. Also "touch
// <row>", "turn <row> <value>" (a wheel turned to the option of the value and let go), "ok [<value>]" (OK on the open
// popup, a selection's option of the value chosen first), "apply", "back", "close" (the popups left open), and the
// device's: "call" (one on eth.0), "refuse <key>" (from now on), "nok <key>" (the next request that holds it).
inline void play(SettingsRig &rig, const QString &steps)
{
    for (const QString &step : steps.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString verb = step.trimmed().section(QLatin1Char(' '), 0, 0);
        const QString rest = step.trimmed().section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("flip")) {
            QTest::mouseClick(rig.row(rest.toInt())->switchButton, Qt::LeftButton);
        } else if (verb == QLatin1String("type")) {
            // An empty text is typed too: only a null one leaves the keyboard as it opened.
            QString typed = rest.section(QLatin1Char('='), 1);
            if (typed.isNull())
                typed = QStringLiteral("");
            rig.touch(rest.section(QLatin1Char('='), 0, 0).toInt());
            QVERIFY(rig.answer(true, -1, typed));
        } else if (verb == QLatin1String("append")) {
            rig.touch(rest.section(QLatin1Char('='), 0, 0).toInt());
            auto *keyboard = qobject_cast<QVexmarVirtual *>(rig.popup());
            QVERIFY(keyboard);
            QVERIFY(rig.answer(true, -1, keyboard->lineEdit.text() + rest.section(QLatin1Char('='), 1)));
        } else if (verb == QLatin1String("touch")) {
            rig.touch(rest.toInt());
        } else if (verb == QLatin1String("turn")) {
            QVexmarMenuItem *row = rig.row(rest.section(QLatin1Char(' '), 0, 0).toInt());
            row->wheel->setChecked(true);
            row->wheel->setValue(row->optionIndex(rest.section(QLatin1Char(' '), 1).toInt(), true));
            row->wheel->setChecked(false);
        } else if (verb == QLatin1String("ok")) {
            QVERIFY(rig.answer(true, rest.isEmpty() ? -1 : rest.toInt()));
        } else if (verb == QLatin1String("apply")) {
            rig.apply();
        } else if (verb == QLatin1String("back")) {
            rig.back();
        } else if (verb == QLatin1String("close")) {
            rig.closePopups();
        } else if (verb == QLatin1String("call")) {
            QVERIFY(rig.callOn("eth.0"));
        } else if (verb == QLatin1String("refuse")) {
            rig.device.refuseKey(rest.toStdString(), "103-parameter set error");
        } else if (verb == QLatin1String("nok")) {
            rig.device.addFault(fault(SimDevice::Fault::Nok, 0, rest.toStdString()));
        } else {
            rig.touch(rest.section(QLatin1Char(' '), 0, 0).toInt());
            QVERIFY(rig.answer(true, rest.section(QLatin1Char(' '), 1).toInt()));
        }
    }
}

// A row as "<id> <value>", with " L" when locked, " red" for a red value and " (none)" for options without a current
// one.
inline QString rowLine(const QVexmarMenuItem *item)
{
    if (!item || !item->valueLabel)
        return QStringLiteral("missing");
    QString line = QString::number(item->id) + QLatin1Char(' ') + item->valueLabel->text();
    if (item->isLocked())
        line += QStringLiteral(" L");
    if (SettingsRig::rowColour(item) == QLatin1String("red"))
        line += QStringLiteral(" red");
    if (!item->options().isEmpty() && item->currentOption() == -1)
        line += QStringLiteral(" (none)");
    return line;
}

// The rows of the current page that the expected text names, "<id> ...; <id> ...", in its order, as rowLine writes
// them.
inline QString rowsNamed(SettingsRig &rig, const QString &expected)
{
    QStringList lines;
    for (const QString &entry : expected.split(QStringLiteral("; ")))
        lines << rowLine(rig.row(entry.section(QLatin1Char(' '), 0, 0).toInt()));
    return lines.join(QStringLiteral("; "));
}

// The ids of the current page's rows, in the order shown.
inline QString rowIds(SettingsRig &rig)
{
    QStringList ids;
    for (QVexmarMenuItem *item : rig.current()->items())
        ids << QString::number(item->id);
    return ids.join(QLatin1Char(' '));
}

// The frame of a read on the target "audio": "PARAM|target=audio|GET a|GET b ..." of the names, given separated by
// blanks.
inline QByteArray audioGets(const QByteArray &names)
{
    QByteArray frame = "PARAM|target=audio";
    for (const QByteArray &name : names.simplified().split(' '))
        frame += "|GET " + name;
    return frame;
}

} // namespace settingstesting
