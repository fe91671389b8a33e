#pragma once

#include <QFrame>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QVexmarButton;
class QVexmarMenuSelect;

// The touch area of a codec line: the remote party (upper line) and the number to dial (lower line) on a face
// coloured by the line's call state, with the phone icon of what a touch does. It keeps the number typed for each
// network family (0 IP, 1 ISDN, 2 voice) and reports a touch anywhere with callPanelClicked.
class QVexmarAoIPCallPanel : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarAoIPCallPanel(QWidget *parent = nullptr);

    // Call-state code 0..6: 1 light green, 2 green, 3 yellow, 4 red, 5 light red, 6 orange, any other grey.
    void setState(int state);
    int state() const { return m_state; }
    // Any other index: an empty string.
    const QString &text(int which) const;
    // Shows the text; families 0, 1 and 2 also keep it.
    void setText(const QString &text, int which);
    // The kept numbers and the lower line go; the upper line stays.
    void reset();
    void setRemoteNumber(const QString &text);

    const int borderWidth = 1;
    const float radius = 30.0f;

signals:
    void callPanelClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setupUi();

    int m_state = 0;
    QLabel *m_upper = nullptr;
    QLabel *m_lower = nullptr;
    QString m_texts[3];
};

// One row of the call page's SIP accounts: "Primary" or "Secondary", the account's address, a button to the
// account's settings and a "SIP" button coloured by its registration.
class QVexmarSipAccountPanel : public QFrame
{
    Q_OBJECT

public:
    // account: 1 or 2.
    QVexmarSipAccountPanel(int account, QWidget *parent = nullptr);

    // 0 not registered (grey), 1 registered (green), 2 registered off IP (dark green), 3 refused (red).
    void setState(int state);
    int state() const { return m_state; }
    void setAddress(const QString &address);

    const int account;

private slots:
    void accountSettingsClicked();

private:
    void setupUi();

    int m_state = 0;
    QLabel *m_address = nullptr;
    QVexmarButton *m_stateButton = nullptr;
};

// The number history of a line as the device keeps it ("addr-history", "phone-addr-history"), in its order;
// empty when the device gave none.
std::vector<std::string> readCallHistory(const std::string &listName);

// One row per entry, valued by its position; the current row is the last entry equal to current, else the first.
void fillCallHistory(QVexmarMenuSelect *popup, const std::vector<std::string> &entries, const QString &current);
