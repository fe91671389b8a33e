#pragma once

// The process-wide services below the screen, each built on its first use and kept until exit.

namespace kra {
class CCom;
}
class LocaleDictionary;
class TAudioSettings;
class TComDevice;
class TComRavennaController;
class TMatrixSettings;

// The communication service, built without parent. Its connection is closed when the application object goes,
// while the event dispatcher still exists.
kra::CCom *getCom();

// The device model on the communication service.
TComDevice *getDevice();

// The audio input settings on the communication service.
TAudioSettings *getAudioSettings();

// The routing matrix settings on the communication service.
TMatrixSettings *getMatrixSettings();

// The RAVENNA controller on the communication service.
TComRavennaController *getRavennaController();

// The text dictionary, read at this first call.
LocaleDictionary *getLocaleDictionary();
