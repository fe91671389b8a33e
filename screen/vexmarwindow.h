#pragma once

#include "rpcconnection.h"
#include "vexmarpageid.h"

#include <QString>
#include <QWidget>

// The mirrored device screen, 1280 x 720. For now it offers only what the main window relies on; its pages, its
// message routing and its session set-up come with the screen itself and keep this interface.
class QVexmarWindow : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarWindow(QWidget *parent = nullptr);

signals:
    // The screen's login page logged in; the text goes to the main window's message panel.
    void loginClicked(const QString &deviceName);

public slots:
    void pageActivated(QVexmar::Page page);
    // The device connection's state, from the communication service.
    void stateChanged(RpcConnection::ConnectionState state);

protected:
    // The screen reacts to no key of its own, so keys posted to it by the main window end here.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};
