#include "device/accessors.h"

#include "controllers/taudiosettings.h"
#include "controllers/tcomravennacontroller.h"
#include "controllers/tmatrixsettings.h"
#include "device/localedictionary.h"
#include "device/tcomdevice.h"
#include "device/vexmarsoftkeys.h"
#include "rpc/ccom.h"

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

TAudioSettings *getAudioSettings()
{
    static TAudioSettings settings(getCom());
    return &settings;
}

TMatrixSettings *getMatrixSettings()
{
    static TMatrixSettings settings(getCom());
    return &settings;
}

TComRavennaController *getRavennaController()
{
    static TComRavennaController controller(getCom());
    return &controller;
}

LocaleDictionary *getLocaleDictionary()
{
    static LocaleDictionary dictionary;
    return &dictionary;
}

QVexmarSoftkeys *getSoftkeys()
{
    static QVexmarSoftkeys softkeys;
    return &softkeys;
}

QVexmarSoftkey *getSoftkey(int index)
{
    return getSoftkeys()->key(index >= 0 && index < QVexmarSoftkeys::keyCount ? index : 0);
}
