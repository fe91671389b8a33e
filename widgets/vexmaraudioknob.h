#pragma once

#include "widgets/vexmarpanctrl.h"

#include <QAbstractButton>
#include <QWidget>

class QLabel;
class QVexmarBars;
class QVexmarKnob;

// The lock of an analog input's gain on the audio pages: the open padlock while checked, the closed one while not.
// What checked means is the page's business.
class QVexmarAudioPadlock : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVexmarAudioPadlock(QWidget *parent = nullptr);

    int index = 0;
    int input = -1;
    int output = -1;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// One channel strip of the audio pages, 150 x 160: the name over a gain knob with the channel's level graph on
// its left. The strip re-emits every change of its knob under its own signal names.
class QVexmarAudioKnob : public QWidget
{
    Q_OBJECT

public:
    // A non-zero pan mode gives the knob a pan selection.
    QVexmarAudioKnob(int panMode, QWidget *parent = nullptr);

    // 0 normal; 1 knob disabled, name colour kept; 2 knob disabled, name grey; others knob disabled, name white.
    void setState(int state);
    int state() const { return m_state; }
    // 1: two bars over the full width of the graph's column; anything else one narrow bar.
    void setStereo(int stereo);
    // Both levels to a two-channel graph, the left one alone to a one-channel graph.
    void setLevels(int left, int right, bool reset);
    void setText(const QString &text);

    void setPanning(QVexmar::PanCtrl pan);
    void setMinimum(int value, const QString &text);
    void setMaximum(int value, const QString &text);
    void setValue(int value);
    void addValueText(int value, const QString &text);
    int indexOfValue(int value) const;
    int indexOfText(const QString &text) const;
    int valueAt(int index) const;
    QString textAt(int index) const;
    void clearValueTexts();

    // The pages read the knob's range and pan and the graph's channel count.
    QVexmarKnob *knob() const { return m_knob; }
    QVexmarBars *levelGraph() const { return m_bars; }
    QLabel *nameLabel() const { return m_name; }

    int index = 0;
    int input = -1;
    int output = -1;
    int levelIndex = -1;

signals:
    void knobGainChanged(int value);
    void knobPanningChanged(QVexmar::PanCtrl value);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void gainChanged(int value);
    void panningChanged(QVexmar::PanCtrl value);

private:
    const int m_panMode;
    int m_state = 0;
    QLabel *m_name = nullptr;
    QVexmarKnob *m_knob = nullptr;
    QVexmarBars *m_bars = nullptr;
};
