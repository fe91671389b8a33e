#pragma once

#include <QImage>

// The pictures of the call page's buttons (120 x 80): light line drawings for the black buttons, as on the home
// page.
QImage paintBook();
QImage paintCoding();
QImage paintCallHistory();
QImage paintDialpad();
// The voice page's call button: green to call, red to hang up.
QImage paintPhoneButton(bool hangUp);
