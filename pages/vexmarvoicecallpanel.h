#pragma once

#include "controllers/tcommobilecontroller.h"

#include <QString>
#include <QWidget>

class QLabel;

// One mobile module of the voice call page: its SIM, registration and operator, outlined green when it can place a
// call and thicker while it is the selected one. It keeps its own controller on the module's interface ("mobile.0"
// or "mobile.1") and reports a touch with callPanelClicked(module).
class QVexmarVoiceCallPanel : public QWidget
{
    Q_OBJECT

public:
    // module: 1 or 2.
    QVexmarVoiceCallPanel(int module, QWidget *parent = nullptr);

    int module() const { return m_module; }
    // The SIM and registration state of the module (TComMobileController::State), -1 while not attached.
    int controllerState() const { return m_controller.state(); }
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);

    // Blank and unattached.
    void reset();
    // Binds the controller to the module's interface; a failed attach leaves the display as it was.
    void attachModule();
    // True when the message was the module's own "network_info".
    bool handleInfo(RpcMessage &message);
    // -1 unless a PIN is asked for, else a TComMobileController::PinResult.
    int applyPin(const QString &pin, int timeoutMs);
    // State 0, 2-6 as texts and colours; any other shows nothing.
    void updateState(int state);

signals:
    void callPanelClicked(int panelIndex);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setupUi();
    void fetchOperator();

    int m_module;
    int m_borderWidth = 2;
    float m_radius = 30.0f;
    QLabel *m_stateLabel = nullptr;
    QLabel *m_simLabel = nullptr;
    TComMobileController m_controller;
};
