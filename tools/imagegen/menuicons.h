#pragma once

#include <QImage>

// The icons of the menu header (80 x 80): back, apply and refresh, blue on the dark screen.
QImage paintNavLeft();
QImage paintCheck();
QImage paintRefresh();
