#pragma once

#include <QImage>

// The icons of the status bar, dark on the light faces of its buttons. The microphones fill the inner area of
// a 34 x 38 button, the network icons that of the 46 x 38 icon square of a network indicator.
QImage paintMicrophone(int number, bool on);
QImage paintWifi(int bars); // 0-4
QImage paintMobile(int number);
QImage paintEthernet(int number);
