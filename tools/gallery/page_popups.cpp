#include "tools/gallery/gallery.h"

#include "widgets/vexmarmessage.h"
#include "widgets/vexmarvirtual.h"

#include <memory>

namespace {

QList<GalleryShot> renderPopups()
{
    QList<GalleryShot> shots;
    {
        QVexmarMessage message(QStringLiteral("Failed to apply changes!"), 0);
        shots.append({QStringLiteral("message"), grabWidget(&message)});
    }
    {
        QVexmarMessage question(
            QStringLiteral("Are you sure?"), QVexmarMessage::CancelButton | QVexmarMessage::OkButton);
        shots.append({QStringLiteral("question"), grabWidget(&question)});
    }
    for (int page :
        {QVexmarVirtual::LowerCase, QVexmarVirtual::UpperCase, QVexmarVirtual::Symbols1, QVexmarVirtual::Symbols2}) {
        QVexmarVirtual keyboard(true);
        keyboard.setKeyPage(page);
        shots.append({QStringLiteral("keyboard%1").arg(page), grabWidget(&keyboard)});
    }
    QVexmarVirtual keypad(false);
    shots.append({QStringLiteral("keypad"), grabWidget(&keypad)});
    return shots;
}

const GalleryPage page("popups", &renderPopups);

} // namespace
