#pragma once

#include <QEvent>

// The one custom event of the device screen. The screen window posts kind 1000 to itself to take one queued
// device message in a later turn of the event loop; popups and controls post kinds 6 and 7 to the screen to hand
// on a key press or release they did not use. Posted with QCoreApplication::postEvent, which then owns it.
class QVexmarEvent final : public QEvent
{
public:
    static constexpr QEvent::Type eventType = QEvent::User;

    // 6 and 7 are the values of QEvent::KeyPress and QEvent::KeyRelease.
    enum Kind { ForwardedKeyPress = QEvent::KeyPress, ForwardedKeyRelease = QEvent::KeyRelease, ProcessMessage = 1000 };
    enum Origin { FromPopupOrScreen = 0, FromControl = 1 };

    QVexmarEvent(int kind, int key, int origin);
    ~QVexmarEvent() override;

    int kind;
    int key; // Qt key code of a forwarded key, -1 for ProcessMessage
    int origin;
};
