#pragma once

// The editor page against the simulated device, its wave maps in a folder of the test: the device as the tables
// start from, the page built and shown as the screen shows it, the frames the device received (a request to the
// application's parameter store reads "DB|"; the recorder settings read before each project request are left
// out), the pages asked for, the texts of the labels and messages, and touches by name.

#include "pages/drawbargraph.h"
#include "pages/vexmareditorimages.h"
#include "pages/vexmareditorpage.h"
#include "tests/pagetesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarprojectpopups.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>

namespace editortesting {

using pagetesting::dbAddress;
inline const QByteArray settings
    = "DB|GET media_dest|GET project|GET filename|GET autorecord|GET media_src|GET format|GET is_ftp";
inline const QByteArray where = "record_mount_point=usb|record_project=show";

// Two recordings and their shapes (ms/channels/last segment), the recorder on the project "show" of USB.
inline const QByteArray baseSetup = R"(
db:ui:quorvane_ui media_dest=usb
db:ui:quorvane_ui project=show
db:ui:quorvane_ui filename=take
db:ui:quorvane_ui autorecord=off
db:ui:quorvane_ui media_src=stream1
db:ui:quorvane_ui format=wav
db:ui:quorvane_ui is_ftp=off
media:usb:show a.wav=100
media:usb:show b.wav=100
media:usb:show kra.prjt=0
media:usb:show 001.prjt=0
wave:usb:show a.wav=60000/2/3
wave:usb:show b.wav=8000/1/3
)";

// The recording handed over by the folder page.
inline QByteArray handOver(const QByteArray &file)
{
    return "db:ui:quorvane_ui editor_next_wav=" + file;
}

// A list of a project file, its rows "source|wave map|channel|start|end|hstart|hend" joined by ','.
inline QByteArray elements(const QByteArray &file, const QByteArray &word, const QByteArray &rows)
{
    return "project:usb:show:" + file + " " + word + "=[" + rows + "]";
}

// A mark or separator row at a position in ms.
inline QByteArray at(qint64 ms)
{
    return "|||" + QByteArray::number(ms * 48) + "||" + QByteArray::number(ms) + "|";
}

// A track row of the recording between two positions in ms.
inline QByteArray track(const QByteArray &wav, qint64 fromMs, qint64 toMs, int channel = 0)
{
    return wav + "|" + wav.left(wav.indexOf('.')) + ".dat|" + QByteArray::number(channel) + "|"
        + QByteArray::number(fromMs * 48) + "|" + QByteArray::number(toMs * 48) + "|x|y";
}

// A frame as the device log describes it: its keys in order, GET and LIST names after them.
inline QByteArray ordered(const QByteArray &frame)
{
    QByteArrayList parts = frame.split('|');
    const QByteArray kind = parts.takeFirst();
    QByteArrayList keys;
    QByteArrayList names;
    for (const QByteArray &part : parts)
        (part.startsWith("GET ") || part.startsWith("LIST ") ? names : keys) << part;
    std::sort(keys.begin(), keys.end());
    return (QByteArrayList {kind} + keys + names).join('|');
}

inline QByteArray action(const QByteArray &word, const QByteArray &file, const QByteArray &rest = {})
{
    return ordered("DO|action=" + word + "|generic_uri=" + file + (rest.isEmpty() ? "" : "|" + rest) + "|" + where);
}

inline QByteArray list(const QByteArray &file, const QByteArray &word)
{
    return "PARAM|generic_uri=" + file + "|project_element=" + word + "|" + where
        + "|target=general|LIST projet_element_list";
}

// A reload of every list of the project file.
inline QByteArrayList reloadAll(const QByteArray &file)
{
    return {"DO|action=get_project_path|" + where, list(file, "project_element_tracks"),
        list(file, "project_separators"), list(file, "project_element_marks")};
}

inline const QByteArray playbackPath = "DO|action=get_playback_fullpath|generic_uri=|" + where;

class EditorBench : public pagetesting::PageBench<QVexmarEditorPage>
{
protected:
    bool connectDevice()
    {
        if (!PageBench::connectDevice(baseSetup))
            return false;
        m_device->setWaveMapFolder(m_waveMaps.path());
        return true;
    }

    // The page built and shown as the screen shows it, its wave maps in the test's folder.
    QVexmarEditorPage *openPage(const QByteArray &setup)
    {
        return PageBench::openPage(setup, [this](QVexmarEditorPage &page) { page.setWaveMapRoot(m_waveMaps.path()); });
    }

    // The frames since the last call but the recorder settings read, then the pages asked for.
    QByteArrayList takeFrames() { return PageBench::takeFrames(settings); }

    // The texts of the open messages; they are closed.
    QByteArrayList takeMessages()
    {
        QByteArrayList shown;
        for (QVexmarMessage *message : m_page->findChildren<QVexmarMessage *>()) {
            if (message->isVisible()) {
                // An auto-closing message with the time it stays.
                const QByteArray closing = message->timer.isActive()
                    ? " (" + QByteArray::number(message->timer.interval()) + " ms)"
                    : QByteArray();
                shown << message->text.toUtf8() + closing;
                message->close();
            }
        }
        return shown;
    }

    // The picture a button shows: the name of the editor's image it is.
    static QByteArray imageOf(const QVexmarButton *button)
    {
        namespace I = EditorImages;
        static const QStringList images = {I::goWhite, I::goGrey, I::markWhite, I::markGrey, I::deleteWhite,
            I::deleteGrey, I::previousWhite, I::previousGrey, I::nextWhite, I::nextGrey, I::saveWhite, I::saveGrey,
            I::openWhite, I::openGrey, I::trashWhite, I::trashDisable, I::zoomInWhite, I::zoomInGrey, I::zoomOutWhite,
            I::zoomOutGrey, I::playWhite, I::playGrey, I::stopWhite, I::speed1, I::speed4, I::speed16};
        return ::imageOf(button, images);
    }

    // The popups open: "selector", "confirm <title>".
    QByteArray popups() const
    {
        QByteArrayList open;
        for (const QVexmarProjectSelector *selector : m_page->findChildren<QVexmarProjectSelector *>())
            open << (selector->isVisible() ? "selector" : "hidden selector");
        for (const QVexmarConfirmAction *confirm : m_page->findChildren<QVexmarConfirmAction *>())
            open << "confirm " + confirm->titleLabel->text().toUtf8();
        return open.join(',');
    }

    // File, index, project, source cursor and length, project cursor and length.
    QByteArray labels() const
    {
        const QVexmarEditorPage &p = *m_page;
        QByteArrayList texts;
        for (const QLabel *label : {p.lbl_File, p.lbl_Index, p.lbl_Project, p.lbl_SourceCursor, p.lbl_SourceLength,
                 p.lbl_ProjectCursor, p.lbl_ProjectLength})
            texts << label->text().toUtf8();
        return texts.join('|');
    }

    // Touches by name: the buttons, "source" and "project" (a click on the view), "channel" (the switch), "+" and
    // "-" (a knob step),
    // "ok" and "cancel" (the confirmation), "select <row>" and "new" (the project selector), "show" (the page
    // hidden and shown again).
    void run(const QByteArrayList &steps)
    {
        QVexmarEditorPage &p = *m_page;
        const QMap<QByteArray, QVexmarButton *> buttons = {{"add", p.btn_Add}, {"previous", p.btn_previous},
            {"save", p.btn_Save}, {"open", p.btn_Open}, {"next", p.btn_Next}, {"trash", p.btn_Trash},
            {"zoomin", p.btn_ZoomIn}, {"zoomout", p.btn_ZoomOut}, {"undo", p.btn_Undo}, {"mark", p.btn_AddMark},
            {"delmark", p.btn_DelMark}, {"play", p.btn_Play}, {"step", p.btn_Step}, {"home", p.btn_Home}};
        for (const QByteArray &step : steps) {
            if (step == "source" || step == "project") {
                QTest::mouseClick(step == "source" ? p.graphSource : p.graphProject, Qt::LeftButton);
            } else if (step == "channel") {
                QTest::mouseClick(p.switchChan, Qt::LeftButton);
            } else if (step == "+" || step == "-") {
                QTest::keyClick(p.knob, step == "+" ? Qt::Key_Plus : Qt::Key_Minus);
            } else if (step == "ok" || step == "cancel") {
                auto *confirm = p.findChild<QVexmarConfirmAction *>();
                QVERIFY2(confirm && confirm->isVisible(), step.constData());
                QTest::mouseClick(step == "ok" ? confirm->okButton : confirm->cancelButton, Qt::LeftButton);
                QTRY_VERIFY(!p.findChild<QVexmarConfirmAction *>());
            } else if (step.startsWith("select ") || step == "new") {
                auto *selector = p.findChild<QVexmarProjectSelector *>();
                QVERIFY2(selector && selector->isVisible(), step.constData());
                if (step == "new") {
                    QTest::mouseClick(selector->newButton, Qt::LeftButton);
                } else {
                    QTest::mouseClick(selector->rowSwitches[step.mid(7).toInt()], Qt::LeftButton);
                    QTest::mouseClick(selector->selectButton, Qt::LeftButton);
                }
                QTRY_VERIFY(!p.findChild<QVexmarProjectSelector *>());
            } else if (step == "show") {
                p.hide();
                p.show();
            } else if (step == "refresh") {
                p.refresh(true);
            } else if (step.startsWith("fail ")) {
                SimDevice::Fault fault;
                fault.kind = SimDevice::Fault::Nok;
                fault.match = step.mid(5).toStdString();
                m_device->addFault(fault);
            } else if (step.startsWith("wait ")) {
                // Until the device has received a request that holds the text.
                const QByteArray text = step.mid(5);
                QTRY_VERIFY2(std::any_of(m_device->requests().begin(), m_device->requests().end(),
                                 [&text](const RpcMessage &r) { return describe(r.body()).contains(text); }),
                    step.constData());
            } else {
                QVERIFY2(buttons.contains(step), step.constData());
                QTest::mouseClick(buttons[step], Qt::LeftButton);
            }
        }
    }

    QTemporaryDir m_waveMaps;
};

} // namespace editortesting
