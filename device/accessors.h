#pragma once

// The process-wide services below the screen, each built on its first use and kept until exit.

namespace kra {
class CCom;
}
class TComDevice;
class TComRavennaController;

// The communication service, built without parent. Its connection is closed when the application object goes,
// while the event dispatcher still exists.
kra::CCom *getCom();

// The device model on the communication service.
TComDevice *getDevice();

// The RAVENNA controller on the communication service.
TComRavennaController *getRavennaController();
