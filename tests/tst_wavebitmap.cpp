#include "pages/trackgraphmodel.h"
#include "pages/wavebitmap.h"
#include "tests/peers/wavebitmapwriter.h"
#include "tests/testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

using Lengths = QVector<uint>;
using Values = QVector<uint>;

// The reader and the track model on files written as the device writes them.
class TestWaveBitmap : public QObject
{
    Q_OBJECT

private slots:
    void unreadableHeader();
    void currentSegment_data();
    void currentSegment();
    void readSegment_data();
    void readSegment();

    void trackWidth_data();
    void trackWidth();
    void zoomMoves_data();
    void zoomMoves();
    void zoomForSeconds_data();
    void zoomForSeconds();
    void paddedToMinimumPixels();
    void channelsAndSharedEnvelopes();
    void folderPrefixKept();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    std::string path(const QString &name) const { return file(name).toStdString(); }
    WaveBitmap bitmapOn(const QByteArray &bytes);

    QTemporaryDir m_dir;
};

WaveBitmap TestWaveBitmap::bitmapOn(const QByteArray &bytes)
{
    const QString name = file(QStringLiteral("bitmap"));
    writeFile(name, bytes);
    WaveBitmap bitmap;
    bitmap.setFilePath(QFile::encodeName(name).constData());
    return bitmap;
}

void TestWaveBitmap::unreadableHeader()
{
    WaveBitmap bitmap = bitmapOn(waveBitmapHeader(1, {10, 20}).left(19));
    QVERIFY(!bitmap.readHeader());
    QCOMPARE(bitmap.errorText(), std::string("WaveBitmap: cannot read wave header or invalid format"));
    QCOMPARE(bitmap.errorCode(), int(WaveBitmap::InvalidHeader));
    bitmap.setFilePath(path(QStringLiteral("absent")).c_str());
    QVERIFY(!bitmap.readHeader());
    QCOMPARE(bitmap.errorText(), std::string("WaveBitmap: cannot read wave data"));
}

void TestWaveBitmap::currentSegment_data()
{
    QTest::addColumn<Lengths>("earlier"); // an earlier header read by the same reader
    QTest::addColumn<Lengths>("lengths");
    QTest::addColumn<int>("current");

    QTest::newRow("the segment before the first empty one") << Lengths() << Lengths {10, 20, 0, 5} << 1;
    QTest::newRow("every segment filled") << Lengths() << Lengths(15, 4) << 0;
    QTest::newRow("empty first segment keeps the choice") << Lengths {10, 20, 30, 0} << Lengths {0, 20, 0} << 2;
}

void TestWaveBitmap::currentSegment()
{
    QFETCH(Lengths, earlier);
    QFETCH(Lengths, lengths);
    QFETCH(int, current);

    WaveBitmap bitmap = bitmapOn(waveBitmapHeader(1, {earlier.cbegin(), earlier.cend()}));
    QVERIFY(bitmap.readHeader());
    writeFile(file(QStringLiteral("bitmap")), waveBitmapHeader(1, {lengths.cbegin(), lengths.cend()}));
    QVERIFY(bitmap.readHeader());
    QCOMPARE(bitmap.currentSegment(), current);
}

void TestWaveBitmap::readSegment_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<Lengths>("lengths");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("index");
    QTest::addColumn<Values>("values"); // empty: the read fails with "invalid data"

    const QByteArray bytes = QByteArray::fromHex("0102030405060708090a0b0c");
    QTest::newRow("mono segment 1 after segment 0") << 1 << Lengths {4, 4} << bytes << 1 << Values {5, 6, 7, 8};
    QTest::newRow("stereo in file order") << 2 << Lengths {8} << bytes << 0 << Values {1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("odd mono tail gets a zero") << 1 << Lengths {5} << bytes << 0 << Values {1, 2, 3, 4, 5, 0};
    QTest::newRow("short stereo tail gets zeros") << 2 << Lengths {6} << bytes << 0 << Values {1, 2, 3, 4, 5, 6, 0, 0};
    QTest::newRow("index -1") << 1 << Lengths {4} << bytes << -1 << Values();
    QTest::newRow("index 15") << 1 << Lengths(15, 2) << bytes << 15 << Values();
    QTest::newRow("length 0") << 1 << Lengths {4, 0, 4} << bytes << 1 << Values();
    QTest::newRow("truncated data") << 1 << Lengths {4, 10} << bytes << 1 << Values();
    // As 32-bit sums the offsets of segments 1 and 2 would wrap to 96 and 104, inside this file.
    QTest::newRow("lengths wrapping 32 bits") << 1 << Lengths {0xFFFFFFFCu, 8, 4} << bytes << 1 << Values();
    QTest::newRow("past a wrapping length") << 1 << Lengths {0xFFFFFFFCu, 8, 4} << bytes << 2 << Values();
}

void TestWaveBitmap::readSegment()
{
    QFETCH(int, channels);
    QFETCH(Lengths, lengths);
    QFETCH(QByteArray, data);
    QFETCH(int, index);
    QFETCH(Values, values);

    WaveBitmap bitmap = bitmapOn(waveBitmapHeader(channels, {lengths.cbegin(), lengths.cend()}) + data);
    QVERIFY(bitmap.readHeader());
    QCOMPARE(bitmap.isStereo(), channels == 2);
    QCOMPARE(bitmap.readSegment(index), !values.isEmpty());
    if (values.isEmpty()) {
        QCOMPARE(bitmap.errorText(), std::string("WaveBitmap: invalid data"));
        QVERIFY(!bitmap.segmentValues(index));
        return;
    }
    // Read again, the segment's values replace the ones there were.
    QVERIFY(bitmap.readSegment(index));
    QVERIFY(bitmap.segmentValues(index));
    QCOMPARE(Values(bitmap.segmentValues(index)->cbegin(), bitmap.segmentValues(index)->cend()), values);
}

void TestWaveBitmap::trackWidth_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("width");

    QTest::newRow("1 s at zoom 3") << qint64(0) << qint64(48000) << 3 << qint64(125);
    QTest::newRow("1 s at zoom 0") << qint64(0) << qint64(48000) << 0 << qint64(1000);
    QTest::newRow("rounded") << qint64(48000) << qint64(48000 + 48 * 100) << 3 << qint64(13);
    QTest::newRow("past 2^31 samples") << qint64(3000000000) << qint64(3000000000 + 480000) << 0 << qint64(10000);
    QTest::newRow("end before start") << qint64(480) << qint64(48) << 0 << qint64(0);
}

void TestWaveBitmap::trackWidth()
{
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    QFETCH(int, zoom);
    QFETCH(qint64, width);

    TrackGraphModel model;
    model.appendRecord(TrackGraphModel::DisplayList);
    model.setTrackRange(TrackGraphModel::DisplayList, 0, start, end, 0);
    model.setZoom(zoom);
    QCOMPARE(model.trackWidth(TrackGraphModel::DisplayList, 0), width);
    QCOMPARE(model.totalWidth(), width);
    QCOMPARE(model.trackWidth(TrackGraphModel::DisplayList, 1), qint64(0));
}

void TestWaveBitmap::zoomMoves_data()
{
    QTest::addColumn<int>("move");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("after"); // the file's current segment is 5

    QTest::newRow("to the file's segment") << int(TrackGraphModel::ZoomToFileSegment) << 2 << 5;
    QTest::newRow("down") << int(TrackGraphModel::ZoomDown) << 2 << 1;
    QTest::newRow("down at 0") << int(TrackGraphModel::ZoomDown) << 0 << 0;
    QTest::newRow("up") << int(TrackGraphModel::ZoomUp) << 2 << 3;
    QTest::newRow("up at the file's segment") << int(TrackGraphModel::ZoomUp) << 5 << 5;
    QTest::newRow("to the finest") << int(TrackGraphModel::ZoomToFinest) << 4 << 0;
    QTest::newRow("kept") << int(TrackGraphModel::ZoomKeep) << 4 << 4;
}

// Every segment's entries carry the segment's number, so the values show which one was read.
void TestWaveBitmap::zoomMoves()
{
    QFETCH(int, move);
    QFETCH(int, zoom);
    QFETCH(int, after);

    WaveBitmapContent content;
    content.durationMs = 4000;
    content.lastSegment = 5;
    content.envelope = [](int segment, qint64, int) { return std::make_pair(quint8(segment), quint8(1)); };
    QVERIFY(writeWaveBitmap(file(QStringLiteral("a.wbm")), content));

    TrackGraphModel model;
    model.setFolderPrefix(m_dir.path().toStdString());
    model.appendRecord(TrackGraphModel::DisplayList).bitmapPath = "a.wbm";
    model.setZoom(zoom);
    model.setZoomMove(TrackGraphModel::ZoomMove(move));
    model.loadDisplayRecord(0);
    QCOMPARE(model.zoom(), after);
    QCOMPARE(model.zoomMove(), int(TrackGraphModel::ZoomKeep));
    QCOMPARE(model.upperValue(TrackGraphModel::DisplayList, 0, 0), uint(after));
    QCOMPARE(model.entriesLoaded(), content.entries(after));
    QCOMPARE(model.record(TrackGraphModel::DisplayList, 0)->fileSegment, 5);
}

void TestWaveBitmap::zoomForSeconds_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<int>("level");
    const QList<QPair<qint64, int>> rows {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {60, 6}, {64, 6}, {65, 7},
        {8192, 13}, {8193, 14}, {10800, 14}, {100000, 14}};
    for (const auto &row : rows)
        QTest::addRow("%lld s", row.first) << row.first << row.second;
}

void TestWaveBitmap::zoomForSeconds()
{
    QFETCH(qint64, seconds);
    QFETCH(int, level);
    QCOMPARE(TrackGraphModel::zoomForSeconds(seconds), level);
}

void TestWaveBitmap::paddedToMinimumPixels()
{
    WaveBitmapContent content;
    content.durationMs = 3;
    QVERIFY(writeWaveBitmap(file(QStringLiteral("short.wbm")), content));

    TrackGraphModel model;
    model.appendRecord(TrackGraphModel::DisplayList).bitmapPath = path(QStringLiteral("short.wbm"));
    model.setMinimumPixels(10);
    model.loadDisplayRecord(0);
    const TrackRecord &record = *model.record(TrackGraphModel::DisplayList, 0);
    QCOMPARE(record.upperValues, std::vector<quint32>({40, 40, 40, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(record.lowerValues, std::vector<quint32>({30, 30, 30, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(model.entriesLoaded(), qint64(3));
    QCOMPARE(record.fileDurationMs, qint64(3));

    // An index beyond the list starts the model afresh, keeping only the channel flag.
    model.setChannelFlag(false);
    model.loadDisplayRecord(1);
    QCOMPARE(model.count(TrackGraphModel::DisplayList), 0);
    QCOMPARE(model.minimumPixels(), 0);
    QVERIFY(!model.channelFlag());
}

// Tracks of one file and channel share the first one's envelope; the other channel is a track of its own.
void TestWaveBitmap::channelsAndSharedEnvelopes()
{
    WaveBitmapContent stereo;
    stereo.channels = 2;
    stereo.durationMs = 8;
    QVERIFY(writeWaveBitmap(file(QStringLiteral("s.wbm")), stereo));
    WaveBitmapContent mono;
    mono.durationMs = 8;
    QVERIFY(writeWaveBitmap(file(QStringLiteral("m.wbm")), mono));

    for (const bool channelFlag : {true, false}) {
        TrackGraphModel model;
        model.setChannelFlag(channelFlag);
        const QList<QPair<QString, int>> tracks {{"s.wbm", 0}, {"s.wbm", 1}, {"s.wbm", 0}, {"m.wbm", 1}, {"m.wbm", 0}};
        for (int i = 0; i < tracks.size(); ++i) {
            TrackRecord &track = model.appendRecord(TrackGraphModel::TrackList);
            track.bitmapPath = path(tracks[i].first);
            track.channelSelectB = tracks[i].second;
            model.loadTrackRecord(i);
        }
        const auto shared = [&](int i) { return model.record(TrackGraphModel::TrackList, i)->sharedIndex; };
        QCOMPARE(
            QVector<int>({shared(0), shared(1), shared(2), shared(3), shared(4)}), QVector<int>({-1, -1, 0, -1, 3}));
        QCOMPARE(model.upperValue(TrackGraphModel::TrackList, 0, 0), 40u);
        QCOMPARE(model.upperValue(TrackGraphModel::TrackList, 1, 0), 60u);
        QCOMPARE(model.lowerValue(TrackGraphModel::TrackList, 1, 0), 50u);
        QCOMPARE(model.count(TrackGraphModel::TrackList), 5);
        QVERIFY(model.record(TrackGraphModel::TrackList, 2)->upperValues.empty());
        QCOMPARE(model.upperValue(TrackGraphModel::TrackList, 3, 0), 40u); // a mono file has one channel
        QCOMPARE(model.findTrackByPath(0, 0, path("s.wbm")), -1);
    }

    // A display record takes the channel its applicable select names.
    TrackGraphModel model;
    model.appendRecord(TrackGraphModel::DisplayList).bitmapPath = path("s.wbm");
    model.setChannelSelect(TrackGraphModel::DisplayList, 0, 1);
    model.loadDisplayRecord(0);
    QCOMPARE(model.upperValue(TrackGraphModel::DisplayList, 0, 0), 60u);
    model.setChannelFlag(false);
    model.loadDisplayRecord(0);
    QCOMPARE(model.upperValue(TrackGraphModel::DisplayList, 0, 0), 40u);
}

void TestWaveBitmap::folderPrefixKept()
{
    WaveBitmapContent content;
    content.durationMs = 4;
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("copy")));
    QVERIFY(writeWaveBitmap(file(QStringLiteral("copy/take.wbm")), content));

    TrackGraphModel model;
    model.appendRecord(TrackGraphModel::DisplayList).bitmapPath = "take.wbm";
    model.loadDisplayRecord(0);
    QVERIFY(model.record(TrackGraphModel::DisplayList, 0)->upperValues.empty());
    model.setFolderPrefix(path(QStringLiteral("copy")));
    for (int load = 0; load < 2; ++load) {
        model.loadDisplayRecord(0);
        QCOMPARE(model.upperValue(TrackGraphModel::DisplayList, 0, 0), 40u);
    }
    // A file gone since: nothing of the earlier envelope is left to draw.
    QVERIFY(QFile::remove(file(QStringLiteral("copy/take.wbm"))));
    model.loadDisplayRecord(0);
    QVERIFY(model.record(TrackGraphModel::DisplayList, 0)->upperValues.empty());
}

QTEST_GUILESS_MAIN(TestWaveBitmap)
#include "tst_wavebitmap.moc"
