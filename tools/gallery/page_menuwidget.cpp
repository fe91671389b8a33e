#include "tools/gallery/gallery.h"

#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarvirtual.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QPainter>

#include <memory>

namespace {

enum Page { Network = 1, Coding = 2, Sip = 11, Account = 21 };

// A small settings menu: builds its pages when they are opened, as the settings page does.
class GalleryMenu : public QVexmarMenuWidget
{
public:
    GalleryMenu()
    {
        const char *titles[] = {"Exit", "Network", "Coding", "Audio", "Book", "Tools", "Status"};
        for (int id = 0; id < 7; ++id) {
            auto *entry = new QVexmarMenuEntry(id, nullptr);
            entry->layout->setContentsMargins(10, 0, 10, 0);
            if (id == 0)
                entry->iconLabel->setPixmap(QPixmap(QStringLiteral(":/images/exit-menu.png")));
            entry->titleLabel->setText(QLatin1String(titles[id]));
            addEntry(entry);
        }
        // Greyed as for an operator.
        entries->findEntry(3)->setState(QVexmarMenuEntry::Disabled);
    }

    bool entryClicked(QVexmarMenuEntry *entry) override
    {
        const bool opened = QVexmarMenuWidget::entryClicked(entry);
        if (opened)
            build(entry->id);
        return opened;
    }

    void menuItemClicked(QVexmarMenuItem *item) override
    {
        QVexmarMenuWidget::menuItemClicked(item);
        if (item->kind() == QVexmarMenuItem::SubMenu)
            build(item->id);
    }

private:
    void build(int id)
    {
        auto *page = new QVexmarMenuItems(id, this);
        auto add = [page](int rowId, int kind, const char *title, const char *value = "") {
            auto *row = new QVexmarMenuItem(rowId, kind, page);
            row->titleLabel->setText(QLatin1String(title));
            row->setValueText(QLatin1String(value));
            page->addItem(row);
            return row;
        };
        if (id == Network) {
            add(10, QVexmarMenuItem::SubMenu, "Ethernet", "DHCP, 192.168.1.20");
            add(Sip, QVexmarMenuItem::SubMenu, "SIP", "Account 1 registered");
            add(12, QVexmarMenuItem::SubMenu, "Wi-Fi", "Off");
            add(13, QVexmarMenuItem::Text, "Device name", "Studio 1");
        } else if (id == Sip) {
            add(Account, QVexmarMenuItem::SubMenu, "Account 1", "studio1@sip.example.net");
            add(22, QVexmarMenuItem::SubMenu, "Account 2", "Not configured");
        } else if (id == Account) {
            add(31, QVexmarMenuItem::Text, "User", "studio1");
            add(32, QVexmarMenuItem::Password, "Password", "secret12");
            add(33, QVexmarMenuItem::Numeric, "Port", "5060");
            QVexmarMenuItem *transport = add(34, QVexmarMenuItem::Selection, "Transport");
            transport->addOption(0, QStringLiteral("UDP"));
            transport->addOption(1, QStringLiteral("TCP"));
            transport->addOption(2, QStringLiteral("TLS"));
            transport->setValueText(QStringLiteral("TCP"));
            add(35, QVexmarMenuItem::Switch, "Registration")->setChecked(true);
        }
        pushItems(page);
    }
};

std::unique_ptr<GalleryMenu> makeMenu()
{
    auto menu = std::make_unique<GalleryMenu>();
    menu->setPalette(pagePalette());
    menu->setAutoFillBackground(true);
    menu->resize(1280, 676);
    menu->setAttribute(Qt::WA_DontShowOnScreen);
    menu->show();
    QCoreApplication::processEvents();
    return menu;
}

// The menu with its open popups painted where they stand on the screen.
QImage grabMenu(GalleryMenu *menu)
{
    QCoreApplication::processEvents();
    QImage image = menu->grab().toImage();
    QPainter painter(&image);
    const QPoint origin = menu->mapToGlobal(QPoint(0, 0));
    for (QVexmarPopup *popup : menu->findChildren<QVexmarPopup *>()) {
        if (popup->isVisible())
            painter.drawImage(popup->geometry().topLeft() - origin, popup->grab().toImage());
    }
    return image;
}

QVexmarMenuItem *row(GalleryMenu *menu, int id)
{
    return menu->currentItems()->findItem(id);
}

QList<GalleryShot> renderMenuWidget()
{
    QList<GalleryShot> shots;
    {
        auto menu = makeMenu();
        shots.append({QStringLiteral("nothing-open"), grabMenu(menu.get())});
        menu->selectEntry(Network, 0);
        shots.append({QStringLiteral("category"), grabMenu(menu.get())});
    }
    {
        auto menu = makeMenu();
        menu->openPath({Network, Sip, Account});
        menu->header->setModified(true);
        menu->header->setRefreshVisible(true);
        shots.append({QStringLiteral("three-levels-modified"), grabMenu(menu.get())});
    }
    {
        auto menu = makeMenu();
        menu->openPath({Network, Sip, Account});
        QVexmarMenuItems *page = menu->currentItems();
        QCoreApplication::processEvents();
        page->itemClicked(row(menu.get(), 32)->titleLabel);
        shots.append({QStringLiteral("keyboard"), grabMenu(menu.get())});
    }
    {
        auto menu = makeMenu();
        menu->openPath({Network, Sip, Account});
        QVexmarMenuItems *page = menu->currentItems();
        QCoreApplication::processEvents();
        page->itemClicked(row(menu.get(), 34)->titleLabel);
        shots.append({QStringLiteral("selection"), grabMenu(menu.get())});
    }
    {
        auto menu = makeMenu();
        menu->openPath({Network});
        menu->showMessagePopup(QStringLiteral("Applying changes..."), 0);
        shots.append({QStringLiteral("message"), grabMenu(menu.get())});
    }
    return shots;
}

const GalleryPage page("menuwidget", &renderMenuWidget);

} // namespace
