#pragma once

#include "vexmarinterfaces.h"
#include "vexmarmixerbasepage.h"

// The monitoring pages of the matrix. For now they offer what the screen window calls; their resetControls runs
// after each login.

// The monitoring mix.
class QVexmarMixerMonitoring1Page : public QVexmarMixerBasePage
{
    Q_OBJECT

public:
    explicit QVexmarMixerMonitoring1Page(QWidget *parent = nullptr);
    ~QVexmarMixerMonitoring1Page() override;

    void resetControls();
};

// One headphone's monitoring.
class QVexmarMixerMonitoring2Page : public QVexmarMixerBasePage, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    // headphone: the headphone's left output, 6, 8 or 10 (headphones 1, 2 and 3).
    QVexmarMixerMonitoring2Page(int headphone, QWidget *parent = nullptr);
    ~QVexmarMixerMonitoring2Page() override;

    void resetControls();
    void setAudioLevels(const int *levels, int count, bool refresh) override;

    const int headphone;
};
