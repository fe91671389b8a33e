#pragma once

#include "controllers/tcomcontroller.h"
#include "device/tcomdevice.h"
#include "pages/vexmarmixerbasepage.h"
#include "widgets/vexmarinterfaces.h"

#include <QMap>

class QLabel;
class QVexmarBars;
class QVexmarButton;
class QVexmarMatrixLabel;
class QVexmarMatrixNode;
class QVexmarMatrixScrollArea;

// "STREAMS": which inputs feed the two streams and the voice call. A grid of crosspoints, one column per input and
// one row per output (Stream 1 L/R, Stream 2 L/R, voice call), scrolling sideways, with the levels of the three
// outgoing signals beside it. A crosspoint shows its node of the matrix; a touch switches the node on the device.
// A stream's or the call's own received signal can never go back into it: those crosspoints take no check.
class QVexmarMixerInputPage : public QVexmarMixerBasePage, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    static constexpr int outputRows = 5;

    explicit QVexmarMixerInputPage(QWidget *parent = nullptr);
    ~QVexmarMixerInputPage() override;

    // After each login: the inputs by what needs no device facts, the AES67 button grey; the checks stay.
    void resetControls();
    void setAudioLevels(const int *levels, int count, bool reset) override;

    QVexmarMatrixScrollArea *scrollArea = nullptr;
    QLabel *stream1Caption = nullptr;
    QVexmarBars *stream1Meter = nullptr;
    QLabel *stream2Caption = nullptr;
    QVexmarBars *stream2Meter = nullptr;
    QLabel *voiceCallCaption = nullptr;
    QVexmarBars *voiceCallMeter = nullptr;
    // The column labels by the column's left input; the crosspoints of output o by their input. Not owned.
    QMap<int, QVexmarMatrixLabel *> inputLabels;
    QMap<int, QVexmarMatrixNode *> nodeRows[outputRows];

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);

private:
    void setupUi();
    void writeCrosspoint(QVexmar::Inputs in, QVexmar::Outputs ou, bool checked) override;
    void applyAvailability(MixerMoment moment);
};
