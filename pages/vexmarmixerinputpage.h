#pragma once

#include "vexmarinterfaces.h"
#include "vexmarmixerbasepage.h"

// The inputs of the matrix. For now it offers what the screen window calls.
class QVexmarMixerInputPage : public QVexmarMixerBasePage, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    explicit QVexmarMixerInputPage(QWidget *parent = nullptr);
    ~QVexmarMixerInputPage() override;

    void resetControls();
    void setAudioLevels(const int *levels, int count, bool refresh) override;
};
