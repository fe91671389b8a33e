#pragma once

#include <QMetaType>

namespace QVexmar {

// The pan selection of a knob, named by the marks the knob shows for it.
enum PanCtrl : int {
    PanEqual = 0, // "=" on both sides
    PanLeft = 1, // "L" only
    PanRight = 2, // "R" only
    PanLeftRight = 3, // "L" and "R"
};

} // namespace QVexmar

Q_DECLARE_METATYPE(QVexmar::PanCtrl)
