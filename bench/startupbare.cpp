// The bare Qt program of bench_startup: an empty window of the main window's size, nothing else.

#include "widgets/firstframe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(1280, 855);
    window.show();
    quitAfterFirstFrame(&window);
    return application.exec();
}
