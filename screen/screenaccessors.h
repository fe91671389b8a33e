#pragma once

// The process-wide services of the screen, beside those of the model (accessors.h): each built on its first
// use and kept until exit.

class QVexmarSoftkey;
class QVexmarSoftkeys;

// The soft-key model, built without parent.
QVexmarSoftkeys *getSoftkeys();
// Key 0..9 of the soft-key model; any other index gives key 0.
QVexmarSoftkey *getSoftkey(int index);
