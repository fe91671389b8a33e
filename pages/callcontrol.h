#pragma once

// What both call pages do with their line's call, behind the slots each page names: the hang-up question and the
// placing of a call.

#include "widgets/vexmarmessage.h"

#include <QCoreApplication>
#include <QObject>

#include <string>

class QWidget;
class TComAudioConnection;

namespace CallControl {

// On a popup about a call: the call's id, so that closing it acts on no other call.
inline constexpr const char *callIdProperty = "callId";

// "Are you sure you want to hang up?" over the page, about the call while it is being set up or connected; null
// otherwise. The question keeps the call's id, not shown yet.
QVexmarMessage *hangUpQuestion(QWidget *page, const TComAudioConnection *call);

// Asks the hang-up question; its end goes to the page's slot.
template<class Page>
void askHangUp(Page *page, const TComAudioConnection *call, void (Page::*closed)())
{
    QVexmarMessage *question = hangUpQuestion(page, call);
    if (!question)
        return;
    QObject::connect(question, &QVexmarPopup::popupClosed, page, closed);
    question->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

// The question closed: hangs up when it was accepted and the line's call is still the one asked about (a call
// that took its place meanwhile is not hung up).
void hangUpIfAccepted(const QObject *question, TComAudioConnection *call);

// Places a call of the kind on the network to the number and hands it to the device model. 0 with the call, 0
// with null when the model would not keep it, or the device's cause of the failure.
int placeCall(int kind, const std::string &network, const std::string &number, TComAudioConnection *&placed);

} // namespace CallControl
