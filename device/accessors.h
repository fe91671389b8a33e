#pragma once

// The process-wide services of the model, each built on its first use and kept until exit.

namespace kra {
class CCom;
}
class LocaleDictionary;
class QVexmarSoftkey;
class QVexmarSoftkeys;
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

// The soft-key model, built without parent.
QVexmarSoftkeys *getSoftkeys();
// Key 0..9 of the soft-key model; any other index gives key 0.
QVexmarSoftkey *getSoftkey(int index);
