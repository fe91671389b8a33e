#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "rpc/ccom.h"
#include "tests/peers/simdevice.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QTextStream>
#include <QWidget>

#include <cmath>
#include <memory>

namespace {

QList<GalleryPage *> &registry()
{
    static QList<GalleryPage *> list;
    return list;
}

} // namespace

GalleryPage::GalleryPage(const char *pageName, Render renderPage) : name(pageName), render(renderPage)
{
    registry().append(this);
}

const QList<GalleryPage *> &GalleryPage::pages()
{
    return registry();
}

QImage grabWidget(QWidget *widget)
{
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    widget->show();
    QCoreApplication::processEvents();
    return widget->grab().toImage();
}

QImage grabBoard(const QList<GalleryCell> &cells, int columns, const QPalette &palette, QWidget *focused)
{
    auto board = std::make_unique<QWidget>();
    board->setPalette(palette);
    board->setAutoFillBackground(true);
    auto *grid = new QGridLayout(board.get());
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    QFont captionFont = board->font();
    captionFont.setPixelSize(12);
    for (int i = 0; i < cells.size(); ++i) {
        auto *cell = new QVBoxLayout;
        cell->setSpacing(4);
        cells.at(i).widget->setParent(board.get());
        cell->addWidget(cells.at(i).widget, 0, Qt::AlignHCenter | Qt::AlignBottom);
        auto *caption = new QLabel(cells.at(i).caption, board.get());
        caption->setFont(captionFont);
        caption->setAlignment(Qt::AlignCenter);
        cell->addWidget(caption, 0, Qt::AlignHCenter | Qt::AlignTop);
        grid->addLayout(cell, i / columns, i % columns);
    }
    board->setAttribute(Qt::WA_DontShowOnScreen);
    board->show();
    if (focused) {
        QApplication::setActiveWindow(board.get());
        focused->setFocus(Qt::OtherFocusReason);
    }
    QCoreApplication::processEvents();
    return board->grab().toImage();
}

QPalette pagePalette()
{
    QPalette palette;
    palette.setBrush(QPalette::Window, QColor(24, 24, 24));
    palette.setBrush(QPalette::WindowText, QColor(Qt::white));
    return palette;
}

QPalette statusBarPalette()
{
    QPalette palette;
    palette.setBrush(QPalette::Window, QColor(207, 196, 226));
    palette.setBrush(QPalette::WindowText, QColor(Qt::black));
    return palette;
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

bool connectTo(SimDevice &device)
{
    return device.listen() && getCom()->connectToDevice(device.host(), device.port(), 0)
        && waitFor([&device] { return getCom()->state() == RpcConnection::ConnectedState && device.clientCount(); });
}

void setScreenGround(QWidget *window)
{
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window, Qt::black);
    palette.setBrush(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

std::unique_ptr<QWidget> screenUnderStatusBar()
{
    auto screen = std::make_unique<QWidget>();
    screen->setFixedSize(1280, 676);
    screen->setAutoFillBackground(true);
    QPalette black = screen->palette();
    black.setBrush(QPalette::Window, Qt::black);
    screen->setPalette(black);
    QFont screenFont = screen->font();
    screenFont.setFamily(QStringLiteral("Arial"));
    screenFont.setWeight(50);
    screenFont.setPixelSize(22);
    screen->setFont(screenFont);
    return screen;
}

WaveBitmapContent speechRecording(qint64 durationMs, int lastSegment, double seed, int channels)
{
    WaveBitmapContent content;
    content.channels = channels;
    content.durationMs = durationMs;
    content.lastSegment = lastSegment;
    content.envelope = [seed](int segment, qint64 entry, int channel) {
        const double t = double(entry << segment) / 1000.0 + seed;
        const double phrase = std::max(0.0, std::sin(t * 0.9) + 0.3 * std::sin(t * 2.3));
        const double grain = 0.55 + 0.45 * std::abs(std::sin(t * 37.0 + 3.0 * std::sin(t * 11.0)));
        const double level = (channel == 0 ? 62.0 : 40.0) * std::min(1.0, phrase) * grain;
        return std::make_pair(quint8(2 + level), quint8(2 + level * 0.9));
    };
    return content;
}

// Usage: gallery <output directory> [page ...]
int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.isEmpty()) {
        err << "usage: gallery <output directory> [page ...]\n";
        return 2;
    }
    const QDir out(arguments.first());
    if (!QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }
    const QStringList wanted = arguments.mid(1);
    int saved = 0;
    for (const GalleryPage *page : GalleryPage::pages()) {
        const QString pageName = QString::fromLatin1(page->name);
        if (!wanted.isEmpty() && !wanted.contains(pageName))
            continue;
        const QList<GalleryShot> shots = page->render();
        for (const GalleryShot &shot : shots) {
            const QString file = out.filePath(pageName + QLatin1Char('-') + shot.name + QStringLiteral(".png"));
            if (!shot.image.save(file)) {
                err << "cannot write " << file << "\n";
                return 1;
            }
            ++saved;
        }
    }
    QTextStream(stdout) << saved << " pictures in " << out.path() << "\n";
    return saved > 0 ? 0 : 1;
}
