#include "accessors.h"

#include "ccom.h"
#include "localedictionary.h"
#include "tcomdevice.h"

#include <QCoreApplication>

namespace {

void closeCom()
{
    getCom()->disconnectFromDevice();
}

} // namespace

kra::CCom *getCom()
{
    static kra::CCom com(nullptr);
    static const bool closesWithApplication = (qAddPostRoutine(closeCom), true);
    Q_UNUSED(closesWithApplication)
    return &com;
}

TComDevice *getDevice()
{
    static TComDevice device(getCom());
    return &device;
}

LocaleDictionary *getLocaleDictionary()
{
    static LocaleDictionary dictionary;
    return &dictionary;
}
