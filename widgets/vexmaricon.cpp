#include "widgets/vexmaricon.h"

#include <QIconEngine>
#include <QPainter>

namespace {

class LazyIconEngine final : public QIconEngine
{
public:
    explicit LazyIconEngine(const QString &path) : m_path(path) { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        // As the file's own engine paints: the rect is already fitted to the icon, so it is not fitted again.
        painter->drawPixmap(rect, icon().pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    void addPixmap(const QPixmap &pixmap, QIcon::Mode mode, QIcon::State state) override
    {
        icon().addPixmap(pixmap, mode, state);
    }

    void addFile(const QString &fileName, const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        icon().addFile(fileName, size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) const override
    {
        return icon().availableSizes(mode, state);
    }

    QIconEngine *clone() const override
    {
        auto *copy = new LazyIconEngine(m_path);
        copy->m_icon = m_icon;
        copy->m_read = m_read;
        return copy;
    }

    void virtual_hook(int id, void *data) override
    {
        switch (id) {
        case QIconEngine::IsNullHook:
            *static_cast<bool *>(data) = icon().isNull();
            break;
        case QIconEngine::ScaledPixmapHook: {
            auto *arg = static_cast<QIconEngine::ScaledPixmapArgument *>(data);
            arg->pixmap = icon().pixmap(arg->size, arg->mode, arg->state);
            break;
        }
        default:
            QIconEngine::virtual_hook(id, data);
        }
    }

private:
    QIcon &icon() const
    {
        if (!m_read) {
            m_icon = QIcon(m_path);
            m_read = true;
        }
        return m_icon;
    }

    QString m_path;
    mutable QIcon m_icon;
    mutable bool m_read = false;
};

} // namespace

QIcon lazyIcon(const QString &path)
{
    return QIcon(new LazyIconEngine(path));
}
