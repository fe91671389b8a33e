#pragma once

#include <QObject>
#include <QWidget>

class QVexmarButton;
class QVexmarSwitch;
class QVexmarWindow;

// The first page of the device screen: the user picks an access level with three switches and logs in. The
// login checks that a codec of ours answers, notes its firmware, asks for the level's password when it has
// one, and then opens the home page and has the window reset the pages for the new login.
class QVexmarLoginPage : public QWidget
{
    Q_OBJECT

public:
    enum { requestTimeoutMs = 5000 };

    // The window is also the page's parent.
    explicit QVexmarLoginPage(QVexmarWindow *window);
    ~QVexmarLoginPage() override;

    QVexmarWindow *const window;
    QVexmarSwitch *operatorSwitch = nullptr;
    QVexmarSwitch *expertSwitch = nullptr;
    QVexmarSwitch *administratorSwitch = nullptr;
    QVexmarButton *loginButton = nullptr;

protected:
    // The switches show the level in force.
    void showEvent(QShowEvent *event) override;

private slots:
    void switchClicked();
    void buttonClicked();
    void keyboardClosed();

private:
    void loggedIn(int level);
};

// Readers of the codec's own keyboards and rotary knob. The remote screen has none of that hardware: they open
// nothing, and closing releases what they would hold.
class QVexmarInputReader : public QObject
{
public:
    using QObject::QObject;
    ~QVexmarInputReader() override;

    // Does nothing; 0.
    int open(const char *device);
    void close();

    int descriptor = -1;
    QObject *notifier = nullptr;
};

class QVexmarKeyboardFlex : public QVexmarInputReader
{
public:
    using QVexmarInputReader::QVexmarInputReader;
};

class QVexmarKeyboardDock : public QVexmarInputReader
{
public:
    using QVexmarInputReader::QVexmarInputReader;
};

class QVexmarRotary : public QVexmarInputReader
{
public:
    using QVexmarInputReader::QVexmarInputReader;
};
