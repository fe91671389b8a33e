#pragma once

#include "widgets/vexmarpopup.h"

class QLabel;
class QTimer;
class QVexmarButton;

// The confirmation popup: a title, up to three lines "label: value", "Cancel" and "OK". The opener sets the
// texts and its own integer or string, calls setupUi, shows it, and reads isCancelled and the kept value in its
// popupClosed slot.
class QVexmarConfirmAction : public QVexmarPopup
{
    Q_OBJECT

public:
    explicit QVexmarConfirmAction(QWidget *parent = nullptr);

    // Also retitles a popup already built.
    void setTitle(const QString &text);
    void setLine1(const QString &label, const QString &value) { setLine(1, label, value); }
    void setLine2(const QString &label, const QString &value) { setLine(2, label, value); }
    void setLine3(const QString &label, const QString &value) { setLine(3, label, value); }
    // Stores the line and marks it shown; a line number other than 1, 2 or 3 changes nothing.
    void setLine(int line, const QString &label, const QString &value);

    void setContextValue(int value) { m_contextValue = value; }
    int contextValue() const { return m_contextValue; }
    void setContextText(const QString &text) { m_contextText = text; }
    QString contextText() const { return m_contextText; }

    // Builds the popup from the lines set so far; its height follows the last line shown.
    void setupUi();
    int isCancelled() const { return cancelled; }
    void hideButtons();
    void showOkButton();

    QString okText;
    QString cancelText;
    QVexmarButton *okButton = nullptr;
    QVexmarButton *cancelButton = nullptr;
    QLabel *line1Label = nullptr; // only when line 1 is shown
    QLabel *titleLabel = nullptr;

public slots:
    void slot_onClicked_btn_Cancel();
    void slot_onClicked_btn_Ok();

private:
    struct Line
    {
        QString label;
        QString value;
        bool shown = false;
    };

    QString m_title;
    Line m_lines[3];
    int m_contextValue = 0;
    QString m_contextText;
};

// A progress popup for a long device operation: while it runs, line 1 shows the time elapsed ("Waiting : 0:01"),
// then "Done" (the popup closes itself 3 s later) or "Failed: Retry or reboot" (it stays). Line 1 must be set.
class QVexmarCountDownPopup : public QVexmarConfirmAction
{
    Q_OBJECT

public:
    explicit QVexmarCountDownPopup(QWidget *parent = nullptr);

    void setCountdown(int value) { countdown = value; }
    // A value of 1 or more switches counting on; the time shown counts up from the start.
    void startCountdown(int value);
    void showDone();
    void showFailed();

    int elapsed = 0; // seconds since startCountdown
    int countdown = 0; // counting while 1 or more
    QTimer *timer = nullptr;

public slots:
    void updateCountdown();
    void updateCountdown_DoneClose();

private:
    void setLine1Text(const QString &text);
};
