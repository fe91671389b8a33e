#pragma once

#include "vexmarmixerbasepage.h"

// The two output pages of the matrix. For now they offer what the screen window calls; their resetControls runs
// after each login.

// The outputs "LINE/USB".
class QVexmarMixerOutput1Page : public QVexmarMixerBasePage
{
    Q_OBJECT

public:
    explicit QVexmarMixerOutput1Page(QWidget *parent = nullptr);
    ~QVexmarMixerOutput1Page() override;

    void resetControls();
};

// The outputs "AES67".
class QVexmarMixerOutput2Page : public QVexmarMixerBasePage
{
    Q_OBJECT

public:
    explicit QVexmarMixerOutput2Page(QWidget *parent = nullptr);
    ~QVexmarMixerOutput2Page() override;

    void resetControls();
};
