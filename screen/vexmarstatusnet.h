#pragma once

#include <QWidget>

#include <memory>
#include <string>

class QLabel;
class QTimer;
class QVexmarButton;
class QVexmarSigQuality;
class TComNetworkController;

namespace kra {
class CMsg;
}

// The status bar's pill for one network interface of the device. It keeps a controller of its own for the
// interface (Ethernet, mobile or Wi-Fi; an indicator of any other kind has none and stays inert), lets it take
// the device's INFO and EVENT messages and shows from it, and from the model's data links, whether the link is
// up (green), the mobile signal bars and radio technology or the Wi-Fi strength. The first message its
// controller takes shows it; it never hides itself.
class QVexmarStatusNet : public QWidget
{
    Q_OBJECT

public:
    QVexmarStatusNet(const std::string &interfaceName, QWidget *parent = nullptr);
    ~QVexmarStatusNet() override;

    // "WIFI1", "MOB1", "MOB2", "ETH1" or "ETH2" choose the icon; other names leave it as it is.
    void setIndicatorName(const QString &name);
    // After each initialisation of the device model: binds the controller to the interface without reading it
    // all, then reads only what the pill shows.
    void attachController();
    void updateIndicator();
    void updateMobileDisplay();
    void updateWifiDisplay();
    void handleInfo(const kra::CMsg &message);
    void handleEvent(const kra::CMsg &message);

    // An empty text hides the technology label.
    void setTechnologyText(const QString &text);
    void setSignalGaugeVisible(bool visible);
    void setSignal(int state, int bars);
    // Neither repaints: the owner sets them before showing.
    void setBorderWidth(int width); // kept only when above 0
    void setRadius(float radius); // 0, negative and NaN give a square pill

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setupUi();
    // Hands the body to the controller as the notification it came in; true when the controller took it.
    bool offer(const kra::CMsg &message, bool info);

    int m_borderWidth = 1;
    float m_radius = 15.0f;
    const std::string m_interfaceName;
    const int m_networkType;
    QVexmarSigQuality *m_signalGauge = nullptr;
    QLabel *m_technologyLabel = nullptr;
    std::unique_ptr<TComNetworkController> m_controller;
    QVexmarButton *m_iconButton = nullptr;
};

// The status bar's pill for the device's FTP upload: shown by the first message of a transfer, green while it
// runs, red after an error, hidden 2000 ms after the end of a transfer and 4000 ms after an error.
class QVexmarStatusFtp : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarStatusFtp(QWidget *parent = nullptr);
    ~QVexmarStatusFtp() override;

    void handleInfo(const kra::CMsg &message);
    void handleEvent(const kra::CMsg &message);
    // A restart replaces a running countdown.
    void startHideTimer(int ms);

    void setBorderWidth(int width);
    void setRadius(float radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void timeout();

private:
    void setupUi();
    void setFace(const QColor &colour);

    int m_borderWidth = 1;
    float m_radius = 15.0f;
    QLabel *m_label = nullptr;
    QTimer *m_hideTimer = nullptr;
};
