#pragma once

// One device-screen page against the simulated device, for the page tests that build a page on their own: the
// device loaded and connected, the page built and shown as the screen shows it, the frames the device received (a
// request to the application's parameter store reads "DB|") and the pages the page asked for. Buttons' pictures
// are named with imageOf (pixeltesting.h).

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "rpc/ccom.h"
#include "tests/pixeltesting.h"
#include "tests/rpctesting.h"
#include "widgets/vexmarpageid.h"

#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

namespace pagetesting {

inline const QByteArrayList dbAddress = {"cat=ui", "controller_id=quorvane_ui", "target=db", "type=quorvane_ui"};

template<class Page>
class PageBench
{
protected:
    bool connectDevice(const QByteArray &setup)
    {
        m_device = std::make_unique<SimDevice>();
        m_device->loadSetup(setup);
        if (!m_device->listen() || !getCom()->connectToDevice(m_device->host(), m_device->port(), 0))
            return false;
        return QTest::qWaitFor(
            [this] { return getCom()->state() == RpcConnection::ConnectedState && m_device->clientCount() == 1; });
    }

    bool disconnectDevice()
    {
        m_page.reset();
        m_pages.clear();
        getCom()->disconnectFromDevice();
        const bool down = QTest::qWaitFor([] { return getCom()->state() == RpcConnection::UnconnectedState; });
        getDevice()->reset(true);
        m_device.reset();
        return down;
    }

    // The page built (`prepare` runs before it is shown) and shown; the frames of both stay to be taken.
    Page *openPage(const QByteArray &setup, const std::function<void(Page &)> &prepare = {})
    {
        m_device->loadSetup(setup);
        m_page = std::make_unique<Page>();
        if (prepare)
            prepare(*m_page);
        QObject::connect(m_page.get(), &Page::pageActivated,
            [this](QVexmar::Page page) { m_pages << "page " + QByteArray::number(page); });
        m_page->resize(1280, 676);
        m_page->show();
        if (!QTest::qWaitForWindowExposed(m_page.get()))
            return nullptr;
        return m_page.get();
    }

    // The frames since the last call but those equal to `skipped`, then the pages asked for.
    QByteArrayList takeFrames(const QByteArray &skipped = QByteArray())
    {
        QByteArrayList frames;
        for (const RpcMessage &request : m_device->requests()) {
            QByteArrayList parts = describe(request.body()).split('|');
            bool db = true;
            for (const QByteArray &pair : dbAddress)
                db = db && parts.contains(pair);
            if (db) {
                for (const QByteArray &pair : dbAddress)
                    parts.removeAll(pair);
                parts[0] = "DB";
            }
            const QByteArray frame = parts.join('|');
            if (skipped.isEmpty() || frame != skipped)
                frames << frame;
        }
        m_device->clearRequests();
        return frames + std::exchange(m_pages, {});
    }

    std::unique_ptr<SimDevice> m_device;
    std::unique_ptr<Page> m_page;
    QByteArrayList m_pages;
};

} // namespace pagetesting
