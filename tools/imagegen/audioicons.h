#pragma once

#include <QImage>

// The pictures of the audio page and its settings popup, light line drawings for the dark screen: the inputs'
// hardware (a microphone socket), the potentiometer over the padlocks, and the way back.
QImage paintInputSettings();
QImage paintPotentiometer();
QImage paintBack();
