#pragma once

#include <QImage>

// The pictures of the home page's page buttons (120 x 80): light line drawings for the black buttons.
QImage paintNetwork();
QImage paintVoiceCall();
QImage paintMixer();
QImage paintAudio();
QImage paintSettings();
QImage paintTools();
QImage paintStatus();
