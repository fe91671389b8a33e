#include "gallery.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QWidget>

namespace {

QList<GalleryPage *> &registry()
{
    static QList<GalleryPage *> list;
    return list;
}

} // namespace

GalleryPage::GalleryPage(const char *name, Render render) : name(name), render(render)
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
