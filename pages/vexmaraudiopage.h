#pragma once

#include "vexmarinterfaces.h"
#include "vexmarpageid.h"
#include "vexmarpagewidget.h"

// The gains of the audio inputs. For now it offers what the screen window calls; its channel strips come with
// the page itself and keep this interface.
class QVexmarAudioPage : public QVexmarPageWidget, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    explicit QVexmarAudioPage(QWidget *parent = nullptr);
    ~QVexmarAudioPage() override;

    // After each login.
    void resetControls();
    void setAudioLevels(const int *levels, int count, bool refresh) override;

signals:
    void pageActivated(QVexmar::Page page);
};
