#include "tools/gallery/gallery.h"

#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarcontrols.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QScrollBar>

#include <memory>

namespace {

// The width of an item page beside the 300-pixel category list and its separator.
constexpr int pageWidth = 979;

QVexmarMenuItem *addRow(QVexmarMenuItems *page, int kind, const QString &title, const QString &value = QString())
{
    auto *row = new QVexmarMenuItem(page->items().size(), kind, page);
    row->titleLabel->setText(title);
    if (!value.isEmpty())
        row->setValueText(value);
    page->addItem(row);
    return row;
}

QVexmarMenuItem *addWheelRow(QVexmarMenuItems *page, int kind, const QString &title, int current)
{
    QVexmarMenuItem *row = addRow(page, kind, title);
    const QStringList levels {
        QStringLiteral("Off"), QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("High")};
    for (int i = 0; i < levels.size(); ++i)
        row->addOption(i, levels.at(i));
    row->selectOption(current, true, true);
    return row;
}

std::unique_ptr<QVexmarMenuItems> makePage(int height)
{
    auto page = std::make_unique<QVexmarMenuItems>(1, nullptr);
    page->setPalette(pagePalette());
    page->resize(pageWidth, height);
    return page;
}

// The whole page, unless it was given a height of its own.
QImage grabPage(QVexmarMenuItems *page, bool whole = true)
{
    if (whole)
        page->resize(pageWidth, page->contentWidget->sizeHint().height());
    page->setAttribute(Qt::WA_DontShowOnScreen);
    page->show();
    QCoreApplication::processEvents();
    return page->grab().toImage();
}

QList<GalleryShot> renderMenus()
{
    QList<GalleryShot> shots;

    {
        auto page = makePage(0);
        addRow(page.get(), QVexmarMenuItem::Label, QStringLiteral("Label"));
        addRow(page.get(), QVexmarMenuItem::ReadOnly, QStringLiteral("IP address"), QStringLiteral("192.168.1.20"));
        QVexmarMenuItem *on = addRow(page.get(), QVexmarMenuItem::Switch, QStringLiteral("DHCP (switch on)"));
        on->addOption(0, QStringLiteral("Off"));
        on->addOption(1, QStringLiteral("On"));
        on->setChecked(true);
        QVexmarMenuItem *off = addRow(page.get(), QVexmarMenuItem::Switch, QStringLiteral("Auto answer (switch off)"));
        off->setChecked(false);
        addRow(page.get(), QVexmarMenuItem::Text, QStringLiteral("Device name"), QStringLiteral("Studio 1"));
        addRow(page.get(), QVexmarMenuItem::Password, QStringLiteral("Password"), QStringLiteral("secret12"));
        addRow(page.get(), QVexmarMenuItem::Numeric, QStringLiteral("Port"), QStringLiteral("5060"));
        addRow(page.get(), QVexmarMenuItem::Pin, QStringLiteral("SIM PIN"), QStringLiteral("1234"));
        shots.append({QStringLiteral("items-1"), grabPage(page.get())});
    }
    {
        auto page = makePage(0);
        QVexmarMenuItem *selection = addRow(page.get(), QVexmarMenuItem::Selection, QStringLiteral("Codec"));
        selection->addOption(0, QStringLiteral("Opus"));
        selection->addOption(1, QStringLiteral("G.722"));
        selection->setValueText(QStringLiteral("G.722"));
        addRow(page.get(), QVexmarMenuItem::SubMenu, QStringLiteral("SIP"), QStringLiteral("Account 1"));
        QVexmarMenuItem *turning = addWheelRow(page.get(), QVexmarMenuItem::Wheel, QStringLiteral("Gain (turning)"), 1);
        addWheelRow(page.get(), QVexmarMenuItem::LiveWheel, QStringLiteral("Volume (live wheel)"), 2);
        addRow(page.get(), QVexmarMenuItem::Action, QStringLiteral("Reboot"), QStringLiteral("Restarts the device"));
        QVexmarMenuItem *locked = addRow(
            page.get(), QVexmarMenuItem::ReadOnly, QStringLiteral("Serial (locked)"), QStringLiteral("QV-000123"));
        locked->setLocked(true);
        QVexmarMenuItem *lockedSwitch = addRow(page.get(), QVexmarMenuItem::Switch, QStringLiteral("VLAN (locked)"));
        lockedSwitch->setChecked(true);
        lockedSwitch->setLocked(true);
        addWheelRow(page.get(), QVexmarMenuItem::Wheel, QStringLiteral("Gain (locked)"), 3)->setLocked(true);

        page->setAttribute(Qt::WA_DontShowOnScreen);
        page->show();
        QApplication::setActiveWindow(page.get());
        turning->wheel->setFocus(Qt::OtherFocusReason);
        turning->wheel->click();
        QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier);
        QCoreApplication::sendEvent(turning->wheel, &plus);
        shots.append({QStringLiteral("items-2"), grabPage(page.get())});
    }
    {
        // Dragged half way: the thumb in the middle of the bar.
        auto page = makePage(400);
        for (int i = 0; i < 12; ++i)
            addRow(page.get(), QVexmarMenuItem::ReadOnly, QStringLiteral("Row %1").arg(i), QStringLiteral("Value"));
        page->setAttribute(Qt::WA_DontShowOnScreen);
        page->show();
        QCoreApplication::processEvents();
        page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum() / 2);
        shots.append({QStringLiteral("items-scrolled"), grabPage(page.get(), false)});
    }
    {
        QVexmarMenuEntries entries(nullptr);
        entries.setPalette(pagePalette());
        const QStringList titles {
            QStringLiteral("Exit"), QStringLiteral("Network"), QStringLiteral("Coding"), QStringLiteral("Tools")};
        const int states[] = {0, 1, 0, 2};
        for (int i = 0; i < titles.size(); ++i) {
            auto *entry = new QVexmarMenuEntry(i, &entries);
            entry->layout->setContentsMargins(10, 0, 10, 0);
            entry->iconLabel->setPixmap(
                QPixmap(i % 2 == 0 ? QStringLiteral(":/images/home.png") : QStringLiteral(":/images/message.png")));
            entry->titleLabel->setText(titles.at(i));
            entry->setState(states[i]);
            entries.addEntry(entry);
        }
        entries.resize(300, entries.contentWidget->sizeHint().height());
        shots.append({QStringLiteral("entries"), grabWidget(&entries)});
    }
    {
        QVexmarMenuSelect select;
        select.setTitle(QStringLiteral("Codec"));
        const QStringList codecs {QStringLiteral("Opus"), QStringLiteral("G.722"), QStringLiteral("G.711 A-law"),
            QStringLiteral("MPEG Layer 2"), QStringLiteral("Linear PCM")};
        for (int i = 0; i < codecs.size(); ++i) {
            auto *row = new QVexmarMenuSelectable(i);
            row->label->setText(codecs.at(i));
            select.addSelectable(row);
        }
        select.setCurrent(select.findSelectable(1));
        shots.append({QStringLiteral("select"), grabWidget(&select)});
    }
    {
        QVexmarMenuSelect select;
        for (int i = 0; i < 3; ++i) {
            auto *row = new QVexmarMenuSelectable(i);
            row->label->setText(QStringLiteral("Without a title, choice %1").arg(i + 1));
            select.addSelectable(row);
        }
        select.setCurrent(select.findSelectable(2));
        shots.append({QStringLiteral("select-untitled"), grabWidget(&select)});
    }
    return shots;
}

const GalleryPage page("menus", &renderMenus);

} // namespace
