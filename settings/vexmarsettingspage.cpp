#include "vexmarsettingspage.h"

#include "accessors.h"
#include "ccom.h"
#include "passwordcipher.h"
#include "rpcvocabulary.h"
#include "tcomrpcaccess.h"
#include "vexmaraccess.h"
#include "vexmarmenuitem.h"

#include <QGridLayout>

#include <map>
#include <string>
#include <vector>

namespace {

constexpr int passwordTimeoutMs = 10000;

QString passwordOf(const std::map<std::string, std::string> &values, const std::string &key)
{
    const auto found = values.find(key);
    if (found == values.end() || found->second.empty())
        return QString();
    // A text that is no cipher text stands as it is.
    const std::string plain = decryptPasswordString(found->second);
    return QString::fromLatin1(plain.data(), int(plain.size()));
}

} // namespace

QVexmarSettingsPage::QVexmarSettingsPage(QWidget *parent) : QVexmarMenuWidget(parent)
{
    const char *const titles[] = {
        QT_TR_NOOP("Exit"),
        QT_TR_NOOP("Network"),
        QT_TR_NOOP("Coding"),
        QT_TR_NOOP("Audio"),
        QT_TR_NOOP("Book"),
        QT_TR_NOOP("Tools"),
        QT_TR_NOOP("Status"),
    };
    for (int id = ExitEntry; id <= StatusEntry; ++id) {
        auto *entry = new QVexmarMenuEntry(id, nullptr);
        entry->layout->setContentsMargins(10, 0, 10, 0);
        entry->titleLabel->setText(tr(titles[id]));
        addEntry(entry);
    }
}

QVexmarSettingsPage::~QVexmarSettingsPage() = default;

bool QVexmarSettingsPage::loadAccessPasswords(int)
{
    std::map<std::string, std::string> values;
    const std::vector<std::string> names
        = {kra::KEY_PASSWORD_ADMINISTRATOR, kra::KEY_PASSWORD_EXPERT, kra::KEY_PASSWORD_OPERATOR};
    if (getCom()->getParams(names, values, passwordTimeoutMs) < 0)
        return false;
    m_administratorPassword = passwordOf(values, kra::KEY_PASSWORD_ADMINISTRATOR);
    m_expertPassword = passwordOf(values, kra::KEY_PASSWORD_EXPERT);
    m_operatorPassword = passwordOf(values, kra::KEY_PASSWORD_OPERATOR);
    return true;
}

const QString &QVexmarSettingsPage::accessPassword(int level) const
{
    if (level == 2)
        return m_administratorPassword;
    if (level == 1)
        return m_expertPassword;
    return m_operatorPassword;
}

void QVexmarSettingsPage::handleDeviceEvent(kra::CMsg &) { }

void QVexmarSettingsPage::handleSystemEvent(kra::CMsg &) { }

void QVexmarSettingsPage::connectionAdded() { }

void QVexmarSettingsPage::connectionRemoved() { }

void QVexmarSettingsPage::audioConnectionStateChanged(TComAudioConnection *) { }

void QVexmarSettingsPage::audioCallStatusChanged(TComAudioConnection *) { }

void QVexmarSettingsPage::audioCallStatisticChanged(TComAudioConnection *) { }

bool QVexmarSettingsPage::entryClicked(QVexmarMenuEntry *entry)
{
    const bool opened = QVexmarMenuWidget::entryClicked(entry);
    if (opened && entry->id == ExitEntry)
        emit pageActivated(QVexmar::Page(exitPage));
    return opened;
}

bool QVexmarSettingsPage::selectEntry(int entryId, int subId)
{
    updateAudioEntryState();
    return QVexmarMenuWidget::selectEntry(entryId, subId);
}

bool QVexmarSettingsPage::openPath(const QList<int> &ids)
{
    updateAudioEntryState();
    return QVexmarMenuWidget::openPath(ids);
}

void QVexmarSettingsPage::updateAudioEntryState()
{
    QVexmarMenuEntry *audio = entries->findEntry(AudioEntry);
    if (!audio)
        return;
    if (g_accessLevel == 0)
        audio->setState(QVexmarMenuEntry::Disabled);
    else if (audio->state() == QVexmarMenuEntry::Disabled)
        audio->setState(QVexmarMenuEntry::Normal);
}
