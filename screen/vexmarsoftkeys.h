#pragma once

#include <QObject>

namespace kra {
class CMsg;
}

// The ten programmable keys of the device as the screen mirrors them. For now it offers what the screen window
// calls; the keys, their lists and their writes come with the soft-key model itself and keep this interface.
class QVexmarSoftkeys : public QObject
{
    Q_OBJECT

public:
    explicit QVexmarSoftkeys(QObject *parent = nullptr);
    ~QVexmarSoftkeys() override;

    // Subscription and first read, each time the screen has attached the audio input settings.
    void load();
    // An INFO "config_changeset" of the device's own changes.
    void handleConfigChangeset(const kra::CMsg &body);
};
