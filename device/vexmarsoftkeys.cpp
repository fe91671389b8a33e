#include "device/vexmarsoftkeys.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <QtDebug>

namespace {

// Keys 8 and 9 (softkey9, softkey10) talk to a stream or, docked, to an output; the others may do anything.
constexpr int fullCategoryMask = 0x3F;
constexpr int talkCategoryMask = 0x28;
// Contacts offers its third function from this firmware on.
constexpr unsigned allPgmOffFirmware = 0x010103;

bool docked()
{
    return getDevice()->dockingDetected();
}

bool hasOption(unsigned option)
{
    return getDevice()->deviceOptions() & option;
}

bool isTalk(int category)
{
    return category == QVexmarSoftkey::TalkToStream || category == QVexmarSoftkey::TalkToSpeaker
        || category == QVexmarSoftkey::TalkToOutput;
}

int lastFunction(int category)
{
    switch (category) {
    case QVexmarSoftkey::Shortcuts:
        return 9;
    case QVexmarSoftkey::Contacts:
        return 3;
    case QVexmarSoftkey::Info:
        return 2;
    case QVexmarSoftkey::TalkToStream:
        return 16;
    case QVexmarSoftkey::TalkToSpeaker:
        return 8;
    case QVexmarSoftkey::TalkToOutput:
        return 10;
    default:
        return 0;
    }
}

int defaultBehavior(int category)
{
    switch (category) {
    case QVexmarSoftkey::Shortcuts:
        return QVexmarSoftkey::Pulse;
    case QVexmarSoftkey::Contacts:
        return QVexmarSoftkey::Toggle;
    case QVexmarSoftkey::TalkToStream:
    case QVexmarSoftkey::TalkToSpeaker:
    case QVexmarSoftkey::TalkToOutput:
        return QVexmarSoftkey::Temporary;
    default:
        return QVexmarSoftkey::NotApplicable;
    }
}

// The functions a key offers in a talk category, by its index and the device's options; -1 keeps the mask.
int talkMask(int category, int index)
{
    if (category == QVexmarSoftkey::TalkToStream) {
        int mask;
        int mobile;
        switch (index) {
        case 0:
        case 1:
        case 5:
            mask = 0x0007;
            mobile = 0x0008;
            break;
        case 2:
        case 3:
        case 6:
            mask = 0x0070;
            mobile = 0x0080;
            break;
        case 4:
            mask = 0x0707;
            mobile = 0x0808;
            break;
        case 7:
            mask = 0x7070;
            mobile = 0x8080;
            break;
        case 8:
            mask = 0x0700;
            mobile = 0x0800;
            break;
        default:
            mask = 0x7000;
            mobile = 0x8000;
            break;
        }
        return hasOption(TComDevice::OptMobile) ? mask | mobile : mask;
    }
    if (category == QVexmarSoftkey::TalkToSpeaker) {
        static const int masks[] = {0x01, 0x01, 0x04, 0x04, 0x33, 0x33, 0xCC, 0xCC};
        return index >= 0 && index < 8 ? masks[index] : -1;
    }
    const bool ravenna = hasOption(TComDevice::OptRavenna);
    switch (index) {
    case 4:
    case 5:
    case 8:
        return ravenna ? 0x003 | 0x01C : 0x003;
    case 6:
    case 7:
    case 9:
        return ravenna ? 0x060 | 0x380 : 0x060;
    default:
        return -1;
    }
}

QString talkName(const QString &from, const QString &to)
{
    return QVexmarSoftkey::tr("%1 Talk %2").arg(from, to);
}

} // namespace

QVexmarSoftkey::QVexmarSoftkey(int index, int categoryMask, QVexmarSoftkeys *owner)
    : m_owner(owner), m_index(index), m_categoryMask(categoryMask)
{
}

QString QVexmarSoftkey::categoryName(int category)
{
    switch (category) {
    case Shortcuts:
        return tr("Shortcuts");
    case Contacts:
        return tr("Contacts");
    case Info:
        return tr("Info");
    case TalkToStream:
        return tr("Talk to Stream");
    case TalkToSpeaker:
        return tr("Talk to Speaker");
    case TalkToOutput:
        return tr("Talk to Output");
    default:
        return tr("None");
    }
}

QString QVexmarSoftkey::functionName(int category, int function)
{
    if (functionId(category, function) < 0)
        return tr("None");
    switch (category) {
    case Shortcuts: {
        static const char *const names[] = {QT_TR_NOOP("Home"), QT_TR_NOOP("Mixer"), QT_TR_NOOP("Inputs"),
            QT_TR_NOOP("Network"), QT_TR_NOOP("Coding"), QT_TR_NOOP("Audio"), QT_TR_NOOP("Book"), QT_TR_NOOP("Tools"),
            QT_TR_NOOP("Status")};
        return tr(names[function - 1]);
    }
    case Contacts:
        return function == 3 ? tr("All PGM Buttons Off") : tr("Contact %1").arg(function);
    case Info:
        return tr("Info %1").arg(function);
    case TalkToStream: {
        static const char *const from[] = {"1", "2", "A", "B"};
        static const char *const to[] = {"Stream1R", "Stream2L", "Stream2R", "Voice"};
        return talkName(QLatin1String(from[(function - 1) / 4]), QLatin1String(to[(function - 1) % 4]));
    }
    case TalkToSpeaker: {
        const QString two = docked() ? QStringLiteral("2/B") : QStringLiteral("2");
        const QString from[] = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("A"), QStringLiteral("B")};
        const QString to[] = {two, QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("1"),
            two, QStringLiteral("1"), QStringLiteral("A")};
        return talkName(from[(function - 1) / 2], to[function - 1]);
    }
    default: {
        static const char *const to[] = {"LINE1", "LINE2", "AES67 Ch1", "AES67 Ch2", "AES67 Ch3"};
        return talkName(QLatin1String(function <= 5 ? "A" : "B"), QLatin1String(to[(function - 1) % 5]));
    }
    }
}

QString QVexmarSoftkey::behaviorName(int behavior)
{
    switch (behavior) {
    case Temporary:
        return tr("Temporary");
    case Toggle:
        return tr("Toggle");
    case Pulse:
        return tr("Pulse");
    default:
        return tr("Not Applicable");
    }
}

int QVexmarSoftkey::functionId(int category, int function)
{
    return function >= 1 && function <= lastFunction(category) ? function : -1;
}

int QVexmarSoftkey::functionCode(int category, int function)
{
    // Through unsigned: an invalid id of -1 becomes 0xFF00 without shifting a negative number.
    return int((unsigned(functionId(category, function)) << 8) & 0xFFFFu) | function;
}

QMap<int, QString> QVexmarSoftkey::categoryList() const
{
    QMap<int, QString> list {{NoCategory, categoryName(NoCategory)}};
    for (int category = Shortcuts; category <= TalkToSpeaker; ++category) {
        if (m_categoryMask & (1 << category))
            list.insert(category, categoryName(category));
    }
    if (docked() && (m_categoryMask & (1 << TalkToOutput)))
        list.insert(TalkToOutput, categoryName(TalkToOutput));
    return list;
}

QMap<int, QString> QVexmarSoftkey::functionList(int category, bool asCode)
{
    if (category < Shortcuts || category > TalkToOutput)
        return {{NoFunction, tr("None")}};
    if (isTalk(category)) {
        const int mask = talkMask(category, m_index);
        if (mask != -1)
            m_functionMask = mask;
    }
    int last = lastFunction(category);
    // A firmware not known yet counts as new.
    if (category == Contacts && g_deviceFirmwareVersion < allPgmOffFirmware)
        last = 2;
    QMap<int, QString> list;
    for (int function = 1; function <= last; ++function) {
        if (m_functionMask & (1 << (function - 1)))
            list.insert(asCode ? functionCode(category, function) : function, functionName(category, function));
    }
    return list;
}

QMap<int, QString> QVexmarSoftkey::behaviorList(int category) const
{
    const int behavior = defaultBehavior(category);
    return {{behavior, behaviorName(behavior)}};
}

void QVexmarSoftkey::applyFunction(int function)
{
    m_function = function & 0xFF;
    m_behavior = defaultBehavior(m_category);
    if (m_owner)
        m_owner->commitFunction(this);
}

void QVexmarSoftkey::setCategory(int category)
{
    if (category == m_category || category < NoCategory || category > TalkToOutput)
        return;
    if (m_owner)
        m_owner->notifyCategoryChanging(this, category);
    m_category = category;
    m_function = NoFunction;
    m_behavior = NotApplicable;
    m_functionMask = -1;
    int function = NoFunction;
    switch (category) {
    case Shortcuts:
    case Contacts:
    case Info:
        function = 1;
        break;
    case TalkToOutput:
        if (!docked())
            break;
        Q_FALLTHROUGH();
    case TalkToStream:
    case TalkToSpeaker: {
        const QMap<int, QString> list = functionList(category, false);
        if (!list.isEmpty())
            function = list.firstKey();
        break;
    }
    default:
        break;
    }
    applyFunction(function);
}

void QVexmarSoftkey::setFunction(int function)
{
    if (function == m_function || !functionList(m_category, false).contains(function))
        return;
    if (m_owner)
        m_owner->notifyFunctionChanging(this, function);
    applyFunction(function);
}

void QVexmarSoftkey::setFunctionCode(int code)
{
    setFunction(code & 0xFF);
}

void QVexmarSoftkey::setBehavior(int behavior)
{
    if (behavior == m_behavior || !behaviorList(m_category).contains(behavior))
        return;
    m_behavior = behavior;
    if (m_owner)
        m_owner->commitBehavior(this);
}

std::string QVexmarSoftkey::parameterName() const
{
    return kra::KEY_SOFTKEY_PREFIX + longToString(m_index + 1);
}

std::string QVexmarSoftkey::wireValue() const
{
    if (m_category == NoCategory)
        return std::string();
    return "C" + longToHexString(m_category, 2) + "F" + longToHexString(m_function, 2) + "B"
        + longToHexString(m_behavior, 2);
}

QVexmarSoftkeys::QVexmarSoftkeys(QObject *parent) : QObject(parent)
{
    for (int index = 0; index < keyCount; ++index)
        m_keys[size_t(index)]
            = std::make_unique<QVexmarSoftkey>(index, index < 8 ? fullCategoryMask : talkCategoryMask, this);
}

QVexmarSoftkeys::~QVexmarSoftkeys() = default;

void QVexmarSoftkeys::load()
{
    TComRpcAccess rpc(getCom());
    rpc.subscribe(kra::EVT_CONFIG_CHANGESET);
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    for (const auto &key : m_keys)
        request.addGet(key->parameterName());
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> errors;
    if (rpc.getParams(request, values, errors, requestTimeoutMs) != keyCount)
        return;
    for (const auto &[name, value] : values) {
        if (name.compare(0, kra::KEY_SOFTKEY_PREFIX.size(), kra::KEY_SOFTKEY_PREFIX) == 0)
            applyValue(name, value);
    }
}

void QVexmarSoftkeys::handleConfigChangeset(const kra::CMsg &body)
{
    if (body.value(kra::KEY_INFO_TYPE) != kra::EVT_CONFIG_CHANGESET)
        return;
    for (const auto &[name, value] : body.params) {
        if (name.compare(0, kra::KEY_SOFTKEY_PREFIX.size(), kra::KEY_SOFTKEY_PREFIX) == 0)
            applyValue(name, value);
    }
}

void QVexmarSoftkeys::applyValue(const std::string &key, const std::string &value)
{
    const size_t prefix = kra::KEY_SOFTKEY_PREFIX.size();
    const int number = key.size() >= prefix ? stringToInt(key.substr(prefix)) : 0;
    if (number < 1 || number > keyCount)
        return;
    // A value may come while a write of ours waits for its answer: keep the flag as it was.
    const bool applying = m_applying;
    m_applying = true;
    QVexmarSoftkey *softKey = this->key(number - 1);
    if (value.size() == 9) {
        softKey->setCategory(int(hexStringToLong(value.substr(1, 2))));
        softKey->setFunction(int(hexStringToLong(value.substr(4, 2))));
        softKey->setBehavior(int(hexStringToLong(value.substr(7, 2))));
    } else {
        softKey->setCategory(QVexmarSoftkey::NoCategory);
    }
    softKey->m_confirmed = softKey->state();
    m_applying = applying;
}

bool QVexmarSoftkeys::writeSoftkey(QVexmarSoftkey *key)
{
    if (m_applying)
        return true;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.setParam(key->parameterName(), key->wireValue());
    const int accepted = TComRpcAccess(getCom()).setParams(request, requestTimeoutMs);
    if (accepted == int(request.params.size())) {
        key->m_confirmed = key->state();
        return true;
    }
    // Without a connection there is nothing to tell the device's value from; the next load reads it.
    if (getCom()->state() != RpcConnection::ConnectedState)
        return true;
    qWarning("Soft key %d: the device did not take %s, the key shows the device's value again", key->index() + 1,
        key->wireValue().c_str());
    // Straight into the fields: the setters would write again.
    if (key->m_category != key->m_confirmed.category)
        key->m_functionMask = -1;
    key->m_category = key->m_confirmed.category;
    key->m_function = key->m_confirmed.function;
    key->m_behavior = key->m_confirmed.behavior;
    return false;
}

void QVexmarSoftkeys::commitFunction(QVexmarSoftkey *key)
{
    writeSoftkey(key);
    emit softKeyFunctionChanged(key);
}

void QVexmarSoftkeys::commitBehavior(QVexmarSoftkey *key)
{
    // A refused write may have taken back more than the behaviour.
    if (!writeSoftkey(key))
        emit softKeyFunctionChanged(key);
    emit softKeyBehaviorChanged(key);
}

void QVexmarSoftkeys::notifyCategoryChanging(QVexmarSoftkey *key, int category)
{
    emit softKeyCategoryChanging(key, QVexmarSoftkey::Category(category));
}

void QVexmarSoftkeys::notifyFunctionChanging(QVexmarSoftkey *key, int function)
{
    emit softKeyFunctionChanging(key, QVexmarSoftkey::Function(function));
}
