#pragma once

#include "pages/trackgraphmodel.h"

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

// The editor's waveform view: the envelope of one recording (single-file mode) or of a project's tracks played
// one after the other, around a fixed playhead in the middle, with track boundaries and marks, at 2^zoom ms per
// pixel. Positions of tracks and marks are samples (48 per ms); everything else is ms.
// The parent page learns of clicks and wheel turns through receiveCustomMessage_ChildIsClic(int graphId) and
// receiveCustomMessage_ChildIsWheeled(int graphId, int steps, int msPerPixel), connected when it has them.
class DrawBarGraph : public QWidget
{
    Q_OBJECT

public:
    enum PositionKind { InsidePosition = 0, StartPosition = 1, EmptyPosition = 2, EndPosition = 3, MarkPosition = 4 };

    DrawBarGraph(int zoom, QWidget *parent);
    explicit DrawBarGraph(QWidget *parent = nullptr);

    void reset();
    // Like reset, keeping the graph id and the dimmed look.
    void softReset();

    void setProjectMode();
    void setSingleFileMode();
    bool isSingleFileMode() const { return m_singleFileMode; }
    void setDimmed();
    void clearDimmed();
    bool isDimmed() const { return m_dimmed; }
    void setGraphId(int id) { m_graphId = id; }
    int graphId() const { return m_graphId; }
    void setCursorPosition(qint64 ms);
    qint64 cursorPosition() const { return m_cursorMs; }
    // Local folder that the records' bitmap paths are relative to.
    void setFolderPrefix(const std::string &prefix) { m_folderPrefix = prefix; }

    int zoom() const { return m_model.zoom(); }
    qint64 currentZoomFactor() const { return TrackGraphModel::zoomFactor(m_model.zoom()); }
    bool isAtMinZoom() const { return m_model.zoom() == 0; }
    bool isAtMaxZoom() const;
    bool isAtMaxTrackZoom() const;
    void zoomToFileSegment();
    // Lower is finer.
    void zoomDown();
    void zoomUp();
    void reload();
    // Loads the content's envelopes; the first load with content also picks the zoom from the duration.
    void refresh();
    // The next refresh with content picks the zoom from the duration again.
    void resetAutoZoom() { m_autoZoomDone = false; }
    void setZoom(int zoom);

    const TrackGraphModel &model() const { return m_model; }
    void clearAllRecords();
    int trackCount() const { return m_model.count(TrackGraphModel::TrackList); }
    int displayCount() const { return m_model.count(TrackGraphModel::DisplayList); }
    void setCurrentTrack(int index);
    int currentTrack() const { return m_singleFileMode ? 0 : m_model.currentIndex(); }
    void selectFirstChannel(bool first);
    bool isFirstChannelSelected() const;

    void addRecord(const std::string &bitmapPath, qint64 start, qint64 end, int channel);
    void addTrack(const std::string &bitmapPath, qint64 start, qint64 end, int channel);
    void setBitmapPathAt(int index, const std::string &path);
    void setNameAt(int index, const std::string &name);

    void addMark(qint64 position);
    // A text that is not a decimal number adds nothing and gives false.
    bool addMarkText(const QString &text);
    void clearMarks();
    int markCount() const { return m_marks.count(TrackGraphModel::DisplayList); }
    int markNumberAt(qint64 ms) const;

    qint64 durationMs() const;
    qint64 trackDurationMs(int index) const;
    qint64 trackEndMs(int index) const;
    int positionKind(qint64 ms) const;
    // Marks and track ends in ms, ascending.
    std::vector<qint64> collectStops() const;
    qint64 previousStop(qint64 ms) const;
    qint64 nextStop(qint64 ms) const;
    int stopCountUpTo(qint64 ms, qint64 offset) const;
    std::string currentFileName() const;

    QSize sizeHint() const override { return minimumSize(); }

signals:
    void sendCustomMessage_IsClic(int graphId);
    void sendCustomMessage_IsWheel(int graphId, int steps, int msPerPixel);
    void SendCustomMouseMessageString(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void resetState(bool keepIdAndLook);
    TrackGraphModel::List contentList() const;
    void loadContent();
    void zoomBy(TrackGraphModel::ZoomMove move);
    void rebuildProjectDisplay(qint64 first);
    void paintEnvelope(QPainter &painter);

    TrackGraphModel m_model; // content: display, track and boundary records
    TrackGraphModel m_marks; // marks: its display records, positions in start
    int m_graphId = 0;
    qint64 m_contentStartX = 0; // where entry 0 of the envelope sits
    bool m_hasContent = false; // an envelope was drawn, so the start, end and marks have a place
    qint64 m_cursorMs = 0;
    std::string m_folderPrefix;
    bool m_singleFileMode = false;
    int m_autoZoomLevel = -1;
    bool m_autoZoomDone = false;
    bool m_projectDisplayStale = true;
    qint64 m_displayWindow = 0; // the project's pixel at the view's left edge when the display was built
    qint64 m_displayFirst = 0; // the project's pixel that display entry 0 shows
    qint64 m_projectWidth = 0; // the project's pixels at the zoom
    const int m_viewWidth = 1000;
    const int m_viewHeight = 150;
    const int m_margin = 0;
    bool m_dimmed = false;
};
