#pragma once

// The signal bars of the status bar and the device model count 0..31. Wi-Fi and mobile interfaces may report
// their signal in dBm instead (a negative number); this brings such a reading onto the same scale.

// A negative reading is dBm: (reading + 113) / 2, at least 0. Any other reading is already on the scale.
int signalLevel(int reading);
