#include "pages/callcontrol.h"

#include "device/accessors.h"
#include "device/tcomconnection.h"
#include "device/tcomdevice.h"

#include <QVariant>

namespace CallControl {

QVexmarMessage *hangUpQuestion(QWidget *page, const TComAudioConnection *call)
{
    if (!call || (call->state() != TComAudioConnection::SettingUp && call->state() != TComAudioConnection::Connected))
        return nullptr;
    auto *question = new QVexmarMessage(QVexmarMessage::tr("Are you sure you want to hang up?"),
        QVexmarMessage::CancelButton | QVexmarMessage::OkButton, page);
    question->setProperty(callIdProperty, call->id());
    question->placeOver(page);
    return question;
}

void hangUpIfAccepted(const QObject *question, TComAudioConnection *call)
{
    const auto *popup = qobject_cast<const QVexmarPopup *>(question);
    if (!popup || popup->cancelled)
        return;
    if (call && call->id() == popup->property(callIdProperty).toInt())
        call->disconnect();
}

int placeCall(int kind, const std::string &network, const std::string &number, TComAudioConnection *&placed)
{
    placed = nullptr;
    auto *connection = new TComAudioConnection(getCom(), kind);
    const int cause = connection->connect(network, number);
    if (cause != 0) {
        TComBaseConnection::dispose(connection);
        return cause;
    }
    if (!getDevice()->addConnection(connection)) {
        TComBaseConnection::dispose(connection);
        return 0;
    }
    placed = connection;
    return 0;
}

} // namespace CallControl
