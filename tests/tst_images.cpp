#include "tests/pixeltesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Folders whose code may name an image of the resources.
const char *const codeFolders[] = {"app", "controllers", "device", "pages", "rpc", "screen", "settings", "widgets"};

QStringList referencedImages()
{
    const QRegularExpression reference(QStringLiteral("\":/images/([^\"]+)\""));
    QSet<QString> paths;
    for (const char *folder : codeFolders) {
        QDirIterator files(QStringLiteral(MQ_SOURCE_DIR "/") + QLatin1String(folder),
            {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString code = QString::fromUtf8(file.readAll());
            auto matches = reference.globalMatch(code);
            while (matches.hasNext())
                paths.insert(QStringLiteral(":/images/") + matches.next().captured(1));
        }
    }
    QStringList sorted = paths.values();
    sorted.sort();
    return sorted;
}

QStringList committedImages()
{
    return QDir(QStringLiteral(MQ_SOURCE_DIR "/resources/images"))
        .entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

// Null, one colour all over, or fully transparent: nothing a user could see.
QString blankness(const QImage &image)
{
    if (image.isNull())
        return QStringLiteral("not loaded");
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    bool seen = false;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb pixel = pixels.pixel(x, y);
            colours.insert(pixel);
            seen = seen || qAlpha(pixel) > 0;
        }
    }
    if (!seen)
        return QStringLiteral("fully transparent");
    if (colours.size() < 2)
        return QStringLiteral("one colour");
    return QString();
}

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void referencedImagesLoad_data();
    void referencedImagesLoad();
    void buttonPictures_data();
    void buttonPictures();
    void committedImagesArePainted();
};

void TestImages::referencedImagesLoad_data()
{
    QTest::addColumn<QString>("path");
    const QStringList paths = referencedImages();
    QVERIFY2(paths.contains(QStringLiteral(":/images/home.png")), "the scan finds nothing");
    for (const QString &path : paths)
        QTest::newRow(qPrintable(path)) << path;
}

void TestImages::referencedImagesLoad()
{
    QFETCH(QString, path);
    const QString fault = blankness(QImage(path));
    QVERIFY2(fault.isEmpty(), qPrintable(path + QStringLiteral(": ") + fault));
}

void TestImages::buttonPictures_data()
{
    referencedImagesLoad_data();
}

// Each picture the code names, on a button, is told as itself among all of them by the page tests' helper (so no
// two are the same), also when the icon was made from a pixmap.
void TestImages::buttonPictures()
{
    QFETCH(QString, path);
    static const QStringList paths = referencedImages();
    const QByteArray name = QFileInfo(path).completeBaseName().toUtf8();
    QWidget page;
    QVexmarButton *button = Look::iconButton(&page, QRect(0, 0, 100, 100), path);
    QCOMPARE(imageOf(button, paths), name);
    button->setIcon(QIcon(QPixmap(path)));
    QCOMPARE(imageOf(button, paths), name);
}

// The committed pictures are served and are what the generator paints now: a changed picture was rebuilt and
// committed, also those that only later code will name.
void TestImages::committedImagesArePainted()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QProcess generator;
    generator.start(QStringLiteral(MQ_IMAGEGEN), {directory.path()});
    QVERIFY(generator.waitForFinished(60000));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());

    const QStringList painted = QDir(directory.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    QCOMPARE(painted, committedImages());
    for (const QString &name : painted) {
        const QImage fresh = QImage(directory.filePath(name)).convertToFormat(QImage::Format_ARGB32);
        const QImage committed = QImage(QStringLiteral(":/images/") + name).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(blankness(committed).isEmpty(), qPrintable(name + QStringLiteral(": ") + blankness(committed)));
        QCOMPARE(committed.size(), fresh.size());
        int worst = 0;
        for (int y = 0; y < fresh.height(); ++y) {
            for (int x = 0; x < fresh.width(); ++x) {
                const QRgb a = fresh.pixel(x, y);
                const QRgb b = committed.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        }
        // Room for rounding of other processors' drawing code, none for a changed picture.
        QVERIFY2(worst <= 3, qPrintable(name + QStringLiteral(" differs by ") + QString::number(worst)));
    }
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
