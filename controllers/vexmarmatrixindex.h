#pragma once

// The rows and columns of the routing matrix. The pages give the single indexes their meaning; the matrix
// settings only know which packed device parameter carries which node.

#include <QMetaType>

namespace QVexmar {

// Row of the matrix, 0 to 31.
enum Inputs : int { FirstInput = 0, LastInput = 31 };
constexpr int InputCount = LastInput + 1;

// Column of the matrix, 0 to 33.
enum Outputs : int { FirstOutput = 0, LastOutput = 33 };
constexpr int OutputCount = LastOutput + 1;

} // namespace QVexmar

Q_DECLARE_METATYPE(QVexmar::Inputs)
Q_DECLARE_METATYPE(QVexmar::Outputs)
