// Dragging a settings page of 200 rows of every kind by 10-pixel steps, each step painted into the offscreen
// platform's window image as the screen does it. Beside it, in the same run, a baseline that repaints the whole
// visible page on every step, which is what a list that does not blit its content would cost. Each is run on a
// bare page and on the page pushed in the menu widget, with the category list and the header beside it. Then a
// row's selection popup opened, painted and closed with as many options as the longest device lists keep (the
// operators' 256, the time-zone lists' 500).

#include "bench/widgetbench.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarcontrols.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace {

constexpr int rowCount = 200;
constexpr int step = 10;

// The settings screen's item page: 979 x 596 beside the category list, under the status bar and the header.
struct Screen
{
    PaintCounter counter;
    std::unique_ptr<QWidget> window;
    QVexmarMenuItems *page = nullptr;
    int fingerY = 0;
    int direction = 1; // 1: the finger moves up and the content scrolls on
};

void buildScreen(Screen &screen, bool inMenu)
{
    screen.window = std::make_unique<QWidget>();
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(24, 24, 24));
    palette.setColor(QPalette::WindowText, Qt::white);
    screen.window->setPalette(palette);
    screen.window->setAutoFillBackground(true);
    screen.window->setFixedSize(1280, 720);
    QVexmarMenuWidget *menu = nullptr;
    if (inMenu) {
        menu = new QVexmarMenuWidget(screen.window.get());
        menu->setGeometry(0, 44, 1280, 676);
        for (int id = 0; id < 7; ++id) {
            auto *entry = new QVexmarMenuEntry(id, nullptr);
            entry->titleLabel->setText(QStringLiteral("Category %1").arg(id));
            menu->addEntry(entry);
        }
        menu->selectEntry(1, 0);
        screen.page = new QVexmarMenuItems(1, menu);
    } else {
        screen.page = new QVexmarMenuItems(1, nullptr);
        screen.page->setParent(screen.window.get());
        screen.page->setGeometry(301, 124, 979, 596);
    }
    for (int i = 0; i < rowCount; ++i) {
        const int kind = i % 12;
        auto *row = new QVexmarMenuItem(i, kind, screen.page);
        row->titleLabel->setText(QStringLiteral("Setting %1").arg(i));
        for (int option = 0; option < 4; ++option)
            row->addOption(option, QStringLiteral("Option %1").arg(option));
        row->selectOption(i % 4, true, true);
        if (kind == QVexmarMenuItem::Switch)
            row->setChecked(i % 3 == 0);
        if (i % 7 == 0)
            row->setLocked(true);
        screen.page->addItem(row);
    }
    if (menu)
        menu->pushItems(screen.page);
    screen.page->contentWidget->installEventFilter(&screen.counter);
    screen.window->show();
    QCoreApplication::processEvents();
}

void touch(QWidget *viewport, QEvent::Type type, int y)
{
    const QPoint position(400, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, viewport->mapToGlobal(position), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

// Puts the finger down again where it has room to move the current way; the first move only anchors.
void grip(Screen &screen)
{
    QWidget *viewport = screen.page->viewport();
    touch(viewport, QEvent::MouseButtonRelease, screen.fingerY);
    screen.fingerY = screen.direction > 0 ? 560 : 30;
    touch(viewport, QEvent::MouseButtonPress, screen.fingerY);
    touch(viewport, QEvent::MouseMove, screen.fingerY);
}

// One 10-pixel step of the finger: down the whole list, then back up, and so on.
void dragStep(Screen &screen)
{
    QScrollBar *bar = screen.page->verticalScrollBar();
    if ((screen.direction > 0 && bar->value() >= bar->maximum()) || (screen.direction < 0 && bar->value() <= 0)) {
        screen.direction = -screen.direction;
        grip(screen);
    } else if (screen.fingerY - screen.direction * step < 20 || screen.fingerY - screen.direction * step > 570) {
        grip(screen);
    }
    screen.fingerY -= screen.direction * step;
    touch(screen.page->viewport(), QEvent::MouseMove, screen.fingerY);
}

void runSteps(benchmark::State &state, bool repaintAll, bool inMenu = false)
{
    Screen screen;
    buildScreen(screen, inMenu);
    grip(screen);
    QCoreApplication::sendPostedEvents(screen.window.get(), QEvent::UpdateRequest);
    screen.counter.clear();
    std::int64_t scrolled = 0;
    for (auto _ : state) {
        const int before = screen.page->verticalScrollBar()->value();
        dragStep(screen);
        // The visible part of the content, as a list without blitting would repaint it.
        if (repaintAll) {
            QWidget *content = screen.page->contentWidget;
            content->update(
                QRect(content->mapFrom(screen.page->viewport(), QPoint(0, 0)), screen.page->viewport()->size()));
        }
        QCoreApplication::sendPostedEvents(screen.window.get(), QEvent::UpdateRequest);
        scrolled += std::abs(screen.page->verticalScrollBar()->value() - before);
    }
    const double steps = double(state.iterations());
    state.counters["pixels/step"] = double(screen.counter.pixels) / steps;
    state.counters["scrolled/step"] = double(scrolled) / steps;
}

void BM_MenuDrag(benchmark::State &state)
{
    runSteps(state, false);
}

void BM_MenuDragBaseline(benchmark::State &state)
{
    runSteps(state, true);
}

void BM_MenuWidgetDrag(benchmark::State &state)
{
    runSteps(state, false, true);
}

void BM_MenuWidgetDragBaseline(benchmark::State &state)
{
    runSteps(state, true, true);
}

// The touch on the row opens the popup, which is painted before it is closed and deleted.
void BM_SelectionPopup(benchmark::State &state)
{
    Screen screen;
    buildScreen(screen, true);
    auto *row = new QVexmarMenuItem(rowCount, QVexmarMenuItem::Selection, screen.page);
    row->titleLabel->setText(QStringLiteral("City"));
    for (int option = 0; option < state.range(0); ++option)
        row->addOption(0, QStringLiteral("Region/City %1").arg(option));
    screen.page->addItem(row);
    for (auto _ : state) {
        screen.page->itemClicked(row->titleLabel);
        auto *popup = screen.window->findChild<QVexmarMenuSelect *>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        popup->repaint();
        delete popup;
    }
}

} // namespace

BENCHMARK(BM_SelectionPopup)->Arg(256)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuDrag)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuDragBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuWidgetDrag)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuWidgetDragBaseline)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
