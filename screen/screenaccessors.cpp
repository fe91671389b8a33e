#include "screenaccessors.h"

#include "vexmarsoftkeys.h"

QVexmarSoftkeys *getSoftkeys()
{
    static QVexmarSoftkeys softkeys;
    return &softkeys;
}
