#pragma once

class QLabel;

// Text from the device is shown as it was sent. Left to guess, a label takes "<img src=...>" for markup: it reads
// the file named and draws it, and one that never ends (a device file) is read until memory runs out.
QLabel *plainTextLabel(QLabel *label);
