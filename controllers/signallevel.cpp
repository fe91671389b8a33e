#include "controllers/signallevel.h"

#include <algorithm>

int signalLevel(int reading)
{
    if (reading >= 0)
        return reading;
    return std::max(0, (reading + 113) / 2);
}
