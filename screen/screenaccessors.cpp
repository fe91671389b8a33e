#include "screenaccessors.h"

#include "vexmarsoftkeys.h"

QVexmarSoftkeys *getSoftkeys()
{
    static QVexmarSoftkeys softkeys;
    return &softkeys;
}

QVexmarSoftkey *getSoftkey(int index)
{
    return getSoftkeys()->key(index >= 0 && index < QVexmarSoftkeys::keyCount ? index : 0);
}
