#pragma once

// Small helpers shared by the tests of the main window and its dialogs.

#include "app/quorvane.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <functional>

inline QLabel *statusLabel(const Quorvane &window)
{
    return window.findChild<QLabel *>(QStringLiteral("statusLabel"));
}

inline QString statusText(const Quorvane &window)
{
    return statusLabel(window)->text();
}

inline QAction *windowAction(const Quorvane &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

// "&Recent", "&Manage devices", "&Disconnect" as on/off letters, e.g. "110".
inline QString menuStates(const Quorvane &window)
{
    QString states;
    for (const bool on : {window.findChild<QMenu *>(QStringLiteral("recentMenu"))->menuAction()->isEnabled(),
             windowAction(window, "manageAction")->isEnabled(), windowAction(window, "disconnectAction")->isEnabled()})
        states += on ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

// Runs `action` on the next visible modal window of type T, from inside its exec(). The timer stops once it ran.
template<class T>
QTimer *whenModal(QObject *context, std::function<void(T *)> action)
{
    auto *timer = new QTimer(context);
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, context, [timer, action] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!timer->isActive() || !window || !window->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(window);
    });
    timer->start();
    return timer;
}

// Answers the window's question and notice boxes and keeps what they asked.
struct AskedBoxes
{
    struct Asked
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    QList<Asked> asked;
    QList<QMessageBox::StandardButton> answers; // taken in order; none left answers NoButton
    std::function<void()> whileAsking;

    void attach(Quorvane &window)
    {
        window.setMessageBoxHandler(
            [this](QMessageBox::Icon icon, const QString &title, const QString &text,
                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
                asked.append({icon, title, text, buttons, defaultButton});
                if (whileAsking)
                    whileAsking();
                return answers.isEmpty() ? QMessageBox::NoButton : answers.takeFirst();
            });
    }
};
