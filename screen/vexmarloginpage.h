#pragma once

#include <QWidget>

class QVexmarWindow;

// The first page of the device screen, where the user logs in at an access level. For now it is an empty page;
// the level switches, the checks of the device and the password come with the login page itself and keep this
// constructor.
class QVexmarLoginPage : public QWidget
{
    Q_OBJECT

public:
    // The window is also the page's parent.
    explicit QVexmarLoginPage(QVexmarWindow *window);
    ~QVexmarLoginPage() override;

    QVexmarWindow *const window;
};
