#pragma once

// The project editor: pieces of one recording (the source, cut at its separators) are laid one after the other
// into a project on the device, marked, played there and built into the project's own WAV file. The page keeps
// no project of its own: every edit is a request to the device, after which the edited element list is read
// again and the two waveform views are rebuilt from what the device holds. No audio passes through here.

#include "device/tcomdevice.h"
#include "widgets/vexmarpagewidget.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <string>
#include <vector>

class DrawBarGraph;
class QElapsedTimer;
class QLabel;
class QTimer;
class QVexmarButton;
class QVexmarKnobMinimal;
class QVexmarMessage;
class QVexmarSwitch;
class RecorderModel;

class QVexmarEditorPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    // The element lists of a project, by the index the page keeps them at; AllElements reloads the three.
    enum ElementKind { AllElements = -1, TrackElements = 0, MarkElements = 1, SeparatorElements = 2 };
    enum GraphId { SourceGraph = 1, ProjectGraph = 2 };
    static constexpr qint64 SamplesPerMs = 48;
    // A hand-over removes the separators of the previous source one request each; past these the page would be
    // held for seconds, so the rest stay and the user is told.
    static constexpr int MaxHandOverRemovals = 100;
    static const char DefaultProjectFile[];

    explicit QVexmarEditorPage(QWidget *parent = nullptr);
    ~QVexmarEditorPage() override;

    // The local folder below which the device's project folders are looked for with their wave-bitmap files;
    // "wavemaps" beside the program unless set.
    void setWaveMapRoot(const QString &path) { m_waveMapRoot = path; }
    QString waveMapRoot() const { return m_waveMapRoot; }

    // Project state, requests and loading
    void projectPath();
    bool newProject();
    // The project file's lists as rows, with the settings read last.
    QStringList fetchTracks() { return fetchRows(TrackElements); }
    QStringList fetchMarks() { return fetchRows(MarkElements); }
    QStringList fetchSeparators() { return fetchRows(SeparatorElements); }
    void addMark(qint64 samples, qint64 ms) { addPosition(MarkElements, samples, ms); }
    void addSeparator(qint64 samples, qint64 ms) { addPosition(SeparatorElements, samples, ms); }
    void setProjectSource();
    bool loadProjectSource();
    // The name of the waveform data file the device made of the recording; empty when it failed.
    std::string convertWavToData(const std::string &wav, bool announce);
    void updatePlaybackPath();
    void reloadElements(bool resetView, int kind);
    void refresh(bool useStoredSource);
    void openProjectSelector();
    void clearProject();

    // Editing, zoom and playback
    void updateButtonState(qint64 ms, bool forSourceView);
    void setButtonState(int state);
    void showSourceView();
    void showProjectView();
    void stopPlayback();
    void setSourcePosition(qint64 ms);
    void setProjectPosition(qint64 ms);
    void beginPlayback();
    void startPlayback();

    // "mm:ss:zzz" with the minutes counting on past 59; "hh:mm:ss:zzz" with the hours counting on past 23.
    static QString sourceTimeText(qint64 ms);
    static QString projectTimeText(qint64 ms);

    std::string projectFile() const { return m_projectFile; }
    bool isSourceView() const { return m_sourceView; }
    bool isPlaying() const { return !m_idle; }

    QVexmarButton *btn_Add = nullptr;
    QVexmarButton *btn_previous = nullptr;
    QVexmarButton *btn_Save = nullptr;
    QVexmarKnobMinimal *knob = nullptr;
    QLabel *lbl_File = nullptr;
    QLabel *lbl_Left = nullptr;
    QVexmarSwitch *switchChan = nullptr;
    QLabel *lbl_Right = nullptr;
    QLabel *lbl_Index = nullptr;
    DrawBarGraph *graphSource = nullptr;
    QLabel *lbl_Project = nullptr;
    QLabel *lbl_SourceCursor = nullptr;
    QLabel *lbl_SourceLength = nullptr;
    DrawBarGraph *graphProject = nullptr;
    QLabel *lbl_ProjectCursor = nullptr;
    QLabel *lbl_ProjectLength = nullptr;
    QVexmarButton *btn_Open = nullptr;
    QVexmarButton *btn_Next = nullptr;
    QVexmarButton *btn_Trash = nullptr;
    QVexmarButton *btn_ZoomIn = nullptr;
    QVexmarButton *btn_ZoomOut = nullptr;
    QVexmarButton *btn_Undo = nullptr;
    QVexmarButton *btn_AddMark = nullptr;
    QVexmarButton *btn_DelMark = nullptr;
    QVexmarButton *btn_Play = nullptr;
    QVexmarButton *btn_Step = nullptr;
    QVexmarButton *btn_Home = nullptr;

signals:
    void pageActivated(QVexmar::Page page);

public slots:
    void slot_onClicked_btn_Add();
    void slot_onClicked_btn_previous();
    void slot_onClicked_btn_Next();
    void slot_onClicked_btn_ZoomIn();
    void slot_onClicked_btn_ZoomOut();
    void slot_onClicked_btn_Step();
    void slot_onClicked_btn_AddMark();
    void slot_onClicked_btn_DelMark();
    void slot_popupClosed_DeleteSelection();
    void slot_onClicked_btn_Play();
    void slot_PlayTimerTicks();
    void slot_knobChanged(int delta);
    void slot_switchChanClicked();
    void receiveCustomMessage_ChildIsClic(int graphId);
    void receiveCustomMessage_ChildIsWheeled(int graphId, int delta, int factor);
    void slot_onClicked_btn_Undo();
    void slot_onClicked_DBGCliked();

    void slot_onClicked_btn_Save();
    void slot_onClicked_btn_Open();
    void slot_onClicked_btn_Trash();
    void slot_popupClosed_ClearProject();
    void homeButtonClicked();
    void timeoutEvent();
    void slot_popupClosed_SelectProject();

protected:
    void showEvent(QShowEvent *event) override;

private:
    using ElementList = std::vector<ProjectElement>;

    void setupUi();
    QLabel *addLabel(const QRect &geometry, const QString &text, Qt::Alignment alignment = {});
    DrawBarGraph *addGraph(const QRect &geometry, int id);
    void setFileLabel(const QString &text, bool error);
    void setChannelSwitch(bool enabled, bool right);
    // The recorder settings read again, so that a request names the drive and project the device has now.
    void loadSettings();
    std::string mountPoint() const;
    std::string projectName() const;
    // A list of the project file as rows, with the settings read last.
    QStringList fetchRows(int kind);
    // A mark or separator at a position.
    void addPosition(int kind, qint64 samples, qint64 ms);

    // What a list's rows held that the page left out with a word to the user.
    struct Refusals
    {
        int outOfRange = 0; // a position the project cannot hold
        int pastCap = 0; // past the first TrackGraphModel::MaxElements elements
    };
    // Rows of seven '|'-separated fields into elements, at most TrackGraphModel::MaxElements; rows of another
    // length or with a position that is no decimal number are skipped, rows with a position out of range refused.
    static ElementList parseRows(const QStringList &rows, int kind, Refusals *refusals = nullptr);
    // Milliseconds as samples, within the longest project.
    static qint64 toSamples(qint64 ms);
    const ElementList &elements(int kind) const;
    void rebuildViews(bool resetView);
    // The view's path of a wave-bitmap file: its name alone, empty where there is no folder to find it in.
    std::string localWaveMap(const std::string &name) const;
    bool hasWaveMap(const std::string &name) const;
    void showWaveMapState();
    void showActiveView();
    void resetSourceView();
    void loadSourceView();
    void setProjectLabel(const QString &text);
    void updateLengthLabels();
    void zeroPositions();

    DrawBarGraph *activeGraph() const;
    qint64 sourceLength() const;
    qint64 projectLength() const;
    // The separators around the source position in samples: the one before (0 when none) and the one after (the
    // source's length when none).
    void sourcePiece(qint64 ms, qint64 &start, qint64 &end) const;
    void setZoomIcons(const DrawBarGraph *graph);
    // The project's track holding ms (the first whose end lies beyond it), -1 when none.
    int trackAt(qint64 ms) const;
    qint64 trackStartMs(int index) const;
    void deleteSelection();
    // The cursor of a view put at ms within its material, where a later Play starts; the buttons follow.
    void placeCursor(bool source, qint64 ms);
    // To the separator (source) or stop (project) after or before the cursor.
    void moveToStop(bool forward);
    // A "Please confirm" question; the slot reads the answer.
    void askToConfirm(const QString &title, void (QVexmarEditorPage::*closed)());
    void startPlayTimer();
    // The position the running clock has reached in the active view, within the material.
    qint64 clockPosition(bool source) const;
    // At the end of the track being played, the next one is asked for; the clock starts again at its start.
    void continueWithNextTrack(qint64 &position);

    std::unique_ptr<RecorderModel> m_recorder;
    std::string m_projectFile;
    std::string m_sourceFile;
    std::string m_waveMap;
    ProjectSource m_source;
    std::array<std::unique_ptr<ElementList>, 3> m_elements;
    std::unique_ptr<QTimer> m_saveTimer;
    QString m_waveMapRoot;
    QString m_waveFolder; // the project's folder below the root; empty when the device gave none that fits

    bool m_sourceView = true;
    qint64 m_sourceCursor = 0;
    qint64 m_sourcePlayStart = 0;
    qint64 m_projectCursor = 0;
    qint64 m_projectPlayStart = 0;
    qint64 m_pendingStart = 0;
    bool m_idle = true;
    bool m_sourcePlaying = false;
    bool m_projectPlaying = false;
    bool m_requestOut = false;
    bool m_userStop = false;
    bool m_saveEnabled = false;
    int m_speed = 16;
    QTimer *m_playTimer = nullptr;
    std::unique_ptr<QElapsedTimer> m_elapsed;
};
