#include "controllers/tcomcontroller.h"

#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

const std::string KEY_NETWORK_QUALITY("network_quality");
const std::string KEY_AJB_PROFILE("ajb_profile");

namespace {

constexpr int requestTimeoutMs = 5000;

const std::string qualityTexts[] = {"very_bad", "bad", "low", "middle", "high", "very_high"};
const std::string profileTexts[] = {"safe", "standard", "punchy"};

} // namespace

TComController::TComController(kra::CCom *com, int kind) : QObject(nullptr), m_rpc(com), m_kind(kind) { }

void TComController::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit controllerStateChanged(this);
}

void TComController::reset()
{
    setState(NotRead);
}

int TComController::getTargetParams(
    const std::string &target, const std::vector<std::string> &names, std::map<std::string, std::string> &values)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, target);
    for (const std::string &name : names)
        request.addGet(name);
    std::map<std::string, std::string> errors;
    return m_rpc.getParams(request, values, errors, requestTimeoutMs);
}

bool TComController::handleInfo(RpcMessage &)
{
    return false;
}

bool TComController::handleEvent(RpcMessage &)
{
    return false;
}

TComAudioTargetController::TComAudioTargetController(kra::CCom *com, int kind) : TComController(com, kind) { }

bool TComAudioTargetController::attach(bool fetch)
{
    if (state() != NotRead)
        reset();
    // The owner learns of the values read here from the state, not one by one.
    const bool wasBlocked = blockSignals(true);
    if (fetch && !fetchAll()) {
        blockSignals(wasBlocked);
        return false;
    }
    blockSignals(wasBlocked);
    setState(Loaded);
    rpc().subscribe(kra::EVT_AUDIO_CHANGESET);
    return true;
}

bool TComAudioTargetController::fetch(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> values;
    if (getTargetParams(kra::TGT_AUDIO, names, values) < 1)
        return false;
    applyParams(values);
    return true;
}

bool TComAudioTargetController::store(const std::vector<std::string> &)
{
    return false;
}

bool TComAudioTargetController::handleInfo(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    if (body.value(kra::KEY_INFO_TYPE) != kra::EVT_AUDIO_CHANGESET)
        return false;
    applyParams(body.params);
    return true;
}

TComNetworkController::TComNetworkController(kra::CCom *com, int kind) : TComController(com, kind) { }

bool TComNetworkController::attach(const std::string &name, int flags, bool makeDefault)
{
    if (name.empty())
        return false;
    if (state() != NotRead)
        reset();
    if (makeDefault && !rpc().setDefaultNetwork(name))
        return false;
    m_interfaceName = name;
    // A fetch during attach must not report every value one by one: the owner hears of the new state.
    const bool wasBlocked = blockSignals(true);
    if ((flags & AttachFetch) && !fetchAll()) {
        blockSignals(wasBlocked);
        return false;
    }
    blockSignals(wasBlocked);
    setState(Attached);
    return true;
}

kra::CMsg TComNetworkController::networkRequest(bool withInterface) const
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    if (withInterface)
        request.setParam(kra::KEY_NETWORK, m_interfaceName);
    return request;
}

bool TComNetworkController::getParam(const std::string &name, std::string &value, bool withInterface)
{
    kra::CMsg request = networkRequest(withInterface);
    request.addGet(name);
    return rpc().getValue(request, value, requestTimeoutMs);
}

int TComNetworkController::getParams(const std::vector<std::string> &names, std::map<std::string, std::string> &values,
    std::map<std::string, std::string> &errors, bool withInterface)
{
    kra::CMsg request = networkRequest(withInterface);
    for (const std::string &name : names)
        request.addGet(name);
    return rpc().getParams(request, values, errors, requestTimeoutMs);
}

bool TComNetworkController::setParam(const std::string &name, const std::string &value, bool withInterface)
{
    kra::CMsg request = networkRequest(withInterface);
    request.setParam(name, value, kra::CMsg::Overwrite);
    return rpc().setParams(request, requestTimeoutMs) == int(request.params.size());
}

bool TComNetworkController::setParams(const std::map<std::string, std::string> &params, bool withInterface)
{
    kra::CMsg request = networkRequest(withInterface);
    for (const auto &[key, value] : params)
        request.setParam(key, value, kra::CMsg::Keep);
    return rpc().setParams(request, requestTimeoutMs) == int(request.params.size());
}

bool TComNetworkController::getList(const std::string &listName, std::vector<std::string> &items, bool withInterface)
{
    kra::CMsg request = networkRequest(withInterface);
    request.addList(listName);
    return rpc().getList(request, items, requestTimeoutMs);
}

bool TComNetworkController::reinitNetwork(const std::string &name, bool resetIfOwn)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::CMD_REINIT);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.setParam(kra::KEY_NETWORK, name);
    if (!rpc().execute(request, requestTimeoutMs))
        return false;
    if (resetIfOwn && name == m_interfaceName)
        reset();
    return true;
}

bool TComNetworkController::makeDefaultNetwork()
{
    if (state() == NotRead || m_interfaceName.empty())
        return false;
    return rpc().setDefaultNetwork(m_interfaceName);
}

std::string TComNetworkController::networkQualityToText(int quality)
{
    return quality >= 0 && quality <= 5 ? qualityTexts[quality] : qualityTexts[2];
}

int TComNetworkController::networkQualityFromText(const std::string &text)
{
    for (int i = 0; i <= 5; ++i) {
        if (text == qualityTexts[i])
            return i;
    }
    return 2;
}

std::string TComNetworkController::ajbProfileToText(int profile)
{
    return profile >= 0 && profile <= 2 ? profileTexts[profile] : profileTexts[1];
}

int TComNetworkController::ajbProfileFromText(const std::string &text)
{
    for (int i = 0; i <= 2; ++i) {
        if (text == profileTexts[i])
            return i;
    }
    return 1;
}

int causeCodeToStatus(int code)
{
    switch (code) {
    case 0:
        return 0;
    case 10:
        return 4;
    case 11:
    case 124:
        return 5;
    case 15:
        return 3;
    case 122:
        return 6;
    case 123:
        return 2;
    default:
        return 1;
    }
}

int causeToStatus(const std::string &value)
{
    // 200 also stands for "no error text"; the text "200-unknown error" itself is an error all the same.
    if (value == kra::ERR_UNKNOWN_ERROR)
        return causeCodeToStatus(200);
    const int code = causeCodeFromText(value);
    return code == 200 ? 0 : causeCodeToStatus(code);
}

QString latin1ToQString(const std::string &text)
{
    return QString::fromLatin1(text.data(), int(text.size()));
}

// Bytes that are no UTF-8 stand in the text as the low surrogates U+DC80-U+DCFF, which no UTF-8 text holds, and
// go back as those bytes: a text written back unchanged is what the device sent, whatever it sent.
QString utf8ToQString(const std::string &text)
{
    QString out;
    out.reserve(int(text.size()));
    const size_t size = text.size();
    for (size_t i = 0; i < size;) {
        const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            out += QChar(lead);
            ++i;
            continue;
        }
        // The length and the range of the second byte of a well-formed sequence: no overlong form, no surrogate,
        // nothing beyond U+10FFFF.
        size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        bool formed = length > 0 && size - i >= length;
        for (size_t k = 1; formed && k < length; ++k) {
            const unsigned char next = byte(i + k);
            formed = k == 1 ? next >= low && next <= high : next >= 0x80 && next <= 0xBF;
            code = (code << 6) | (next & 0x3F);
        }
        if (!formed) {
            out += QChar(ushort(0xDC00 + lead));
            ++i;
            continue;
        }
        if (QChar::requiresSurrogates(code)) {
            out += QChar(QChar::highSurrogate(code));
            out += QChar(QChar::lowSurrogate(code));
        } else {
            out += QChar(ushort(code));
        }
        i += length;
    }
    return out;
}

std::string qStringToLatin1(const QString &text)
{
    return text.toLatin1().toStdString();
}

std::string qStringToUtf8(const QString &text)
{
    std::string out;
    out.reserve(size_t(text.size()) * 3);
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const ushort unit = text.at(i).unicode();
        char32_t code = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(unit, text.at(i + 1).unicode());
            ++i;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            out += char(unit - 0xDC00);
            continue;
        } else if (QChar::isSurrogate(unit)) {
            code = QChar::ReplacementCharacter;
        }
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    return out;
}
