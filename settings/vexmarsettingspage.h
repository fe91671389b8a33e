#pragma once

#include "vexmarmenuitem.h"
#include "vexmarmenuwidget.h"

#include <QString>

class TComAudioConnection;

namespace kra {
class CMsg;
}

// The settings menu of the device screen: its seven categories, the way out to the page it was opened from, and
// the three access-level passwords of the device. For now the categories open no pages; the branches, their
// values and their reactions to the device's messages come with the settings page itself and keep this
// interface.
class QVexmarSettingsPage : public QVexmarMenuWidget
{
    Q_OBJECT

public:
    enum Entry {
        ExitEntry = 0,
        NetworkEntry = 1,
        CodingEntry = 2,
        AudioEntry = 3,
        BookEntry = 4,
        ToolsEntry = 5,
        StatusEntry = 6
    };

    explicit QVexmarSettingsPage(QWidget *parent = nullptr);
    ~QVexmarSettingsPage() override;

    // Reads the three level passwords of the device and deciphers them; false when the device did not answer,
    // which keeps the passwords read last. The argument has no effect.
    bool loadAccessPasswords(int);
    // 2 administrator, 1 expert, any other level operator.
    const QString &accessPassword(int level) const;

    // INFO and EVENT bodies passed on by the screen window.
    void handleDeviceEvent(kra::CMsg &body);
    void handleSystemEvent(kra::CMsg &body);
    void connectionAdded();
    void connectionRemoved();
    void audioConnectionStateChanged(TComAudioConnection *connection);
    void audioCallStatusChanged(TComAudioConnection *connection);
    void audioCallStatisticChanged(TComAudioConnection *connection);

    // Exit returns to the exit page.
    bool entryClicked(QVexmarMenuEntry *entry) override;
    bool selectEntry(int entryId, int subId) override;
    bool openPath(const QList<int> &ids) override;

    // The remote numbers of the call profile loaded last, for the screen window to dial them.
    QString callProfileRemoteNumber;
    QString callProfileRemoteNumber2;

private:
    // Audio cannot be opened at the Operator level.
    void updateAudioEntryState();

    QString m_administratorPassword;
    QString m_expertPassword;
    QString m_operatorPassword;
};
