#include "quorvane.h"

// The program has no communication service yet: there is no device connection to report, open or close.

bool Quorvane::deviceConnectionActive() const
{
    return false;
}

bool Quorvane::openDeviceConnection(const QString &, quint16)
{
    return false;
}

void Quorvane::closeDeviceConnection() { }

void shutDownServices() { }
