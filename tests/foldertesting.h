#pragma once

// The folder page against the simulated device: the device as the tables start from, the page built and shown
// as the screen shows it, the frames the device received (a request to the application's parameter store reads
// "DB|"), the pages the page asked for, and the texts of its lists, combo boxes and messages.

#include "pages/vexmarfolderpage.h"
#include "tests/pagetesting.h"
#include "widgets/vexmarmessage.h"

#include <QComboBox>
#include <QListWidget>
#include <QtTest>

#include <memory>
#include <utility>

namespace foldertesting {

using pagetesting::dbAddress;
inline const QByteArray where = "|record_mount_point=usb|record_project=show";

// The three-line records reply, its files, the recorder settings.
inline const QByteArray baseSetup = R"(
media get_freespace_record=5200
media get_freespace_usb=1850
media get_freespace_sdcard=0
media get_freespace_p_record=45
media get_freespace_p_usb=62
db:ui:quorvane_ui media_dest=usb
db:ui:quorvane_ui project=show
db:ui:quorvane_ui filename=take
db:ui:quorvane_ui autorecord=off
db:ui:quorvane_ui media_src=stream1
db:ui:quorvane_ui format=wav
db:ui:quorvane_ui is_ftp=off
general project_list=[show,My Project]
media:usb:show a=100
media:usb:show b=100
media:usb:show records_list=[a|001|Take one|wav|00:01:05|D1|T1|2,b|002|Take two|mpg2|00:00:30|D2|T2|1,x|003]
)";
inline const QByteArray editorOn = "db:ui:quorvane_ui is_editor_mode=on";

inline QByteArray playList(const QByteArray &names)
{
    return "media:usb:show records_plist=[" + names + "]";
}

inline const QByteArray state = "PARAM|target=audio|GET recorder_state";
inline const QByteArray editorMode = "DB|GET is_editor_mode";
inline const QByteArrayList space = {"DO|action=get_freespace_record", "DO|action=get_freespace_usb",
    "DO|action=get_freespace_sdcard", "DO|action=get_freespace_p_record", "DO|action=get_freespace_p_usb"};
inline const QByteArray settings
    = "DB|GET media_dest|GET project|GET filename|GET autorecord|GET media_src|GET format|GET is_ftp";

// The records of a project, with the editor mode and the play list asked after them.
inline QByteArrayList recordsOf(const QByteArray &mount, const QByteArray &project)
{
    const QByteArray at = "PARAM|record_mount_point=" + mount + "|record_project=" + project + "|target=general|";
    return {at + "LIST records_list", editorMode, at + "LIST records_plist"};
}

// The recorder settings as the page pushes them, the value given changed.
inline QByteArray pushed(const QByteArray &changed)
{
    QByteArray text
        = "DB|autorecord=off|filename=take|format=wav|is_ftp=off|media_dest=usb|media_src=stream1|project=show";
    const QByteArray key = changed.left(changed.indexOf('=') + 1);
    const int from = text.indexOf('|' + key) + 1;
    const int to = text.indexOf('|', from);
    return text.replace(from, (to < 0 ? text.size() : to) - from, changed);
}

// What a show asks when it reloads everything.
inline QByteArrayList reloadOn(const QByteArray &mount, const QByteArray &project, const QByteArrayList &pushes = {})
{
    return QByteArrayList {state, editorMode} + space + QByteArrayList {settings} + pushes
        + QByteArrayList {"PARAM|record_mount_point=" + mount + "|target=general|LIST project_list"}
    + recordsOf(mount, project);
}

inline QByteArray texts(const QListWidget *list)
{
    QByteArrayList items;
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text().toUtf8();
    return items.join(',');
}

inline QByteArray comboTexts(const QComboBox *combo)
{
    QByteArrayList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i).toUtf8();
    return items.join(',') + " [" + combo->currentText().toUtf8() + "]";
}

// The simulated device, the communication service on it and the page.
class FolderBench : public pagetesting::PageBench<QVexmarFolderPage>
{
protected:
    bool connectDevice() { return PageBench::connectDevice(baseSetup); }

    // The texts of the open messages under the widget (the page when none); they are closed.
    QByteArrayList takeMessages(QWidget *under = nullptr)
    {
        QByteArrayList shown;
        for (QVexmarMessage *message : (under ? under : m_page.get())->findChildren<QVexmarMessage *>()) {
            if (message->isVisible()) {
                shown << message->text.toUtf8();
                message->close();
            }
        }
        return shown;
    }
};

} // namespace foldertesting
