#pragma once

#include "widgets/vexmarpageid.h"
#include "widgets/vexmarpagewidget.h"

#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QTimer;
class QVexmarButton;
class QVexmarSwitch;
class RecorderModel;

// The recorder: drive, source, project and file-name prefix of the next recording, its start, the running
// times and the stop with a confirming second press. Every setting lives in the page's own recorder model,
// which pushes it to the device; the page shows what the model holds, refreshed each time it is shown. While
// the device plays a recording an overlay covers all but the home button.
class QVexmarRecordingPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarRecordingPage(QWidget *parent = nullptr);
    ~QVexmarRecordingPage() override;

signals:
    void pageActivated(QVexmar::Page page);

protected slots:
    void homeButtonClicked();

private slots:
    void slot_switchSourceClicked();
    void slot_switchAutoClicked();
    void slot_switchFormatClicked();
    void slot_switchDriveClicked();
    void slot_PreStopTimerTicks();
    void slot_RecordTimerTicks();
    void slot_OnStartRecordClicked();
    void slot_OnStopRecordClicked();
    void slot_onIndexChanged_cboProject(int index);
    void slot_OnFilenameClicked();
    void slot_OnFilenameClicked_closePopup();
    void slot_OnFTPClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
    void refreshMediaControls();
    void showSource();
    void resetTimes();
    void computeRemainingTime();
    void loadRemainingTime();
    void updateRecordDisplay();
    void updateControlsEnabled();
    void fillProjectList();
    void addProject(const std::string &name);
    void selectDrive(QObject *clicked);
    void selectSource(QObject *clicked);
    void selectFormat(QObject *clicked);
    void applyFileName(const QString &text);
    void createRecordTimer();
    void armStopConfirmation();
    void stopBlinkTimer();
    void stopRecording();
    // The setting slots act only while the recorder is idle; a click they refuse must not leave its switch
    // showing a choice that was never made.
    bool idleOrUndo(QObject *clicked);

    QVexmarButton *m_homeButton = nullptr;
    QVexmarButton *m_recordButton = nullptr;
    QVexmarButton *m_stopButton = nullptr;
    QVexmarButton *m_ftpButton = nullptr;
    QVexmarButton *m_metadataButton = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_remainingLabel = nullptr;
    QComboBox *m_projectCombo = nullptr;
    QVexmarButton *m_fileNameButton = nullptr;
    QVexmarSwitch *m_stream1Switch = nullptr;
    QVexmarSwitch *m_stream2Switch = nullptr;
    QVexmarSwitch *m_voiceSwitch = nullptr;
    QVexmarSwitch *m_autoSwitch = nullptr;
    QVexmarSwitch *m_wavSwitch = nullptr;
    QVexmarSwitch *m_mp2Switch = nullptr;
    QVexmarSwitch *m_internalSwitch = nullptr;
    QVexmarSwitch *m_usbSwitch = nullptr;
    QVexmarSwitch *m_sdSwitch = nullptr;
    QVexmarSwitch *m_ftpSwitch = nullptr;
    QLabel *m_internalLabel = nullptr;
    QLabel *m_usbLabel = nullptr;
    QLabel *m_sdLabel = nullptr;
    QLabel *m_ftpLabel = nullptr;
    QLabel *m_playbackOverlay = nullptr;
    QLabel *m_fileNameLabel = nullptr;
    QTimer *m_recordTimer = nullptr;
    QTimer *m_blinkTimer = nullptr;
    // Counts of seconds, not times of day: a long recording or a large drive shows hours past 23.
    int m_elapsedTime = 0;
    int m_remainingTime = 0;
    int m_remainingSeconds = 0;
    int m_remainingMinutes = 0;
    bool m_stopConfirmation = false;
    int m_blinkTicks = 0;
    bool m_refilling = false;
    bool m_blinkPhase = false;
    std::unique_ptr<RecorderModel> m_recorder;
};
