#include "vexmarwindow.h"

QVexmarWindow::QVexmarWindow(QWidget *parent) : QWidget(parent)
{
    setFixedSize(1280, 720);
}

void QVexmarWindow::pageActivated(QVexmar::Page) { }

void QVexmarWindow::stateChanged(RpcConnection::ConnectionState) { }

void QVexmarWindow::keyPressEvent(QKeyEvent *) { }

void QVexmarWindow::keyReleaseEvent(QKeyEvent *) { }
