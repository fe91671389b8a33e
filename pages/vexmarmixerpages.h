#pragma once

#include "vexmarinterfaces.h"
#include "vexmarpageid.h"
#include "vexmarpagewidget.h"

// The five mixer pages of the routing matrix. For now they offer what the screen window calls; their nodes,
// knobs and strips come with the pages themselves and keep this interface. Each page's resetControls runs after
// each login.

// The inputs of the matrix.
class QVexmarMixerInputPage : public QVexmarPageWidget, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    explicit QVexmarMixerInputPage(QWidget *parent = nullptr);
    ~QVexmarMixerInputPage() override;

    void resetControls();
    void setAudioLevels(const int *levels, int count, bool refresh) override;

signals:
    void pageActivated(QVexmar::Page page);
};

// The outputs "LINE/USB".
class QVexmarMixerOutput1Page : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarMixerOutput1Page(QWidget *parent = nullptr);
    ~QVexmarMixerOutput1Page() override;

    void resetControls();

signals:
    void pageActivated(QVexmar::Page page);
};

// The outputs "AES67".
class QVexmarMixerOutput2Page : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarMixerOutput2Page(QWidget *parent = nullptr);
    ~QVexmarMixerOutput2Page() override;

    void resetControls();

signals:
    void pageActivated(QVexmar::Page page);
};

// The monitoring mix.
class QVexmarMixerMonitoring1Page : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarMixerMonitoring1Page(QWidget *parent = nullptr);
    ~QVexmarMixerMonitoring1Page() override;

    void resetControls();

signals:
    void pageActivated(QVexmar::Page page);
};

// One headphone's monitoring.
class QVexmarMixerMonitoring2Page : public QVexmarPageWidget, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    // headphone: the headphone's left output, 6, 8 or 10 (headphones 1, 2 and 3).
    QVexmarMixerMonitoring2Page(int headphone, QWidget *parent = nullptr);
    ~QVexmarMixerMonitoring2Page() override;

    void resetControls();
    void setAudioLevels(const int *levels, int count, bool refresh) override;

    const int headphone;

signals:
    void pageActivated(QVexmar::Page page);
};
