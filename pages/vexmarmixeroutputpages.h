#pragma once

#include "controllers/tcomcontroller.h"
#include "device/tcomdevice.h"
#include "pages/vexmarmixerbasepage.h"

#include <QMap>

class QLabel;
class QVexmarButton;
class QVexmarMatrixLabel;
class QVexmarMatrixNode;
class QVexmarMatrixScrollArea;

// The two output pages of the matrix: which inputs feed the outputs of one group. A grid of crosspoints, one row
// per input and one column per output, scrolling a row at a time. A crosspoint shows its node of the matrix; a
// touch switches that one node on the device.

// "LINE/USB": LINE 1, LINE 2, USB L and USB R. USB can never be sent back into USB: those four crosspoints take no
// check. Usable only once the device is ready: undocked the USB outputs alone, and only for the device's own
// signals; docked everything but the AES67 inputs, which need the module.
class QVexmarMixerOutput1Page : public QVexmarMixerBasePage
{
    Q_OBJECT

public:
    static constexpr int columnCount = 4;
    // Column c shows output columnOutputs[c].
    static const int columnOutputs[columnCount];

    explicit QVexmarMixerOutput1Page(QWidget *parent = nullptr);
    ~QVexmarMixerOutput1Page() override;

    // After each login: nothing usable until the device is ready, the AES67 button grey; the checks stay.
    void resetControls();

    QVexmarMatrixScrollArea *scrollArea = nullptr;
    // The row labels by input; the crosspoints of column c by their input. Not owned.
    QMap<int, QVexmarMatrixLabel *> rowLabels;
    QMap<int, QVexmarMatrixNode *> nodeColumns[columnCount];

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);

private:
    void setupUi();
};

// "AES67": the eight outputs of the AES67 module (14 to 21). Reached only from a device docked with the module,
// so everything is usable but the Player rows without a recorder.
class QVexmarMixerOutput2Page : public QVexmarMixerBasePage
{
    Q_OBJECT

public:
    static constexpr int columnCount = 8;
    static constexpr int firstOutput = 14;

    explicit QVexmarMixerOutput2Page(QWidget *parent = nullptr);
    ~QVexmarMixerOutput2Page() override;

    QVexmarMatrixScrollArea *scrollArea = nullptr;
    QMap<int, QVexmarMatrixLabel *> rowLabels;
    // Column k holds the crosspoints of output 14 + k by their input. Not owned.
    QMap<int, QVexmarMatrixNode *> nodeColumns[columnCount];

    // Shows the crosspoint (in, ou) of outputs 14 to 21 as the matrix has it; sends nothing.
    void refreshNodeButton(QVexmar::Inputs in, QVexmar::Outputs ou);

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void matrixNodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou) override;

private:
    void setupUi();
    void applyPlayerRule();
};
