#pragma once

// The process-wide services of the screen, beside those of the model (accessors.h): each built on its first
// use and kept until exit.

class QVexmarSoftkeys;

// The soft-key model, built without parent.
QVexmarSoftkeys *getSoftkeys();
