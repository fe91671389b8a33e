#pragma once

// The process-wide services below the screen, each built on its first use and kept until exit.

namespace kra {
class CCom;
}
class LocaleDictionary;
class TComDevice;

// The communication service, built without parent. Its connection is closed when the application object goes,
// while the event dispatcher still exists.
kra::CCom *getCom();

// The device model on the communication service.
TComDevice *getDevice();

// The text dictionary, read at this first call.
LocaleDictionary *getLocaleDictionary();
