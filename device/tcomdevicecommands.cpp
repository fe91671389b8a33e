// The device model's own setters: AES67 reset, clock, fan, the codec, coordination and dual-stream modes, the
// line codecs and the default and secondary network. With send the device is asked first; a refusal leaves
// the model as it was.

#include "tcomdevice.h"

#include "networkcode.h"
#include "rpcconvert.h"
#include "rpcvocabulary.h"

namespace {

constexpr int requestTimeoutMs = 5000;

kra::CMsg paramRequest(const std::string &target)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, target);
    return request;
}

} // namespace

bool TComDevice::setAes67Reset(bool on, bool send, bool force)
{
    if (on == m_aes67Reset && !force)
        return true;
    if (send) {
        kra::CMsg request = paramRequest(kra::TGT_AUDIO);
        request.setParam(kra::KEY_AES67_RESET, onOffText(on));
        if (!store(request))
            return false;
    }
    m_aes67Reset = on;
    emit deviceStateChanged(Aes67ResetStored);
    return true;
}

bool TComDevice::setClockSource(int source, bool send)
{
    if (source == m_clockSource)
        return true;
    if (send) {
        kra::CMsg request = paramRequest(kra::TGT_GENERAL);
        request.setParam(kra::KEY_CLK_SOURCE, source == ClockAes67 ? kra::CLK_AES67 : kra::CLK_TCXO);
        if (!store(request))
            return false;
    }
    m_clockSource = source;
    return true;
}

bool TComDevice::setFan(bool on, bool send)
{
    if (on == m_fan)
        return true;
    if (send) {
        kra::CMsg request = paramRequest(kra::TGT_GENERAL);
        request.setParam(kra::KEY_FAN, onOffText(on));
        if (!store(request))
            return false;
    }
    m_fan = on;
    return true;
}

bool TComDevice::setDualStreamMode(int mode)
{
    if (mode == m_dualStreamMode)
        return true;
    m_dualStreamMode = mode;
    emit deviceStateChanged(DualStreamModeChanged);
    return true;
}

bool TComDevice::setCoordMode(int mode, bool send)
{
    if (mode == m_coordMode)
        return true;
    if (send) {
        kra::CMsg request = paramRequest(kra::TGT_AUDIO);
        request.setParam(kra::KEY_COORD_MODE, mode == 1 ? kra::VAL_ENABLED : kra::VAL_DISABLED);
        if (!store(request))
            return false;
    }
    m_coordMode = mode;
    emit deviceStateChanged(CoordModeChanged);
    return true;
}

bool TComDevice::setLineCodec(int line, const std::string &codecText, bool send)
{
    // The voice line's codec is the device's own.
    if (line == 3)
        return false;
    const CodecFormat format = parseCodecFormat(codecText);
    if (format.algorithm == -1 || format == lineCodec(line))
        return true;
    if (send) {
        const std::string &key = line == 2                ? kra::KEY_DCODEC_2
            : line == 1 && m_codecMode == CodecModeDouble ? kra::KEY_DCODEC_1
                                                          : kra::KEY_CODEC;
        kra::CMsg request = paramRequest(kra::TGT_AUDIO);
        request.setParam(key, codecText);
        if (!store(request))
            return false;
    }
    if (line == 2) {
        m_line2Codec = format;
        emit deviceStateChanged(Line2CodecChanged);
    } else {
        m_line1Codec = format;
        emit deviceStateChanged(Line1CodecChanged);
    }
    return true;
}

bool TComDevice::setCodecMode(int mode, bool send)
{
    if (mode == m_codecMode)
        return true;
    if (send) {
        const bool doubleCodec = mode == CodecModeDouble;
        kra::CMsg aoip = paramRequest(kra::TGT_NETWORK);
        aoip.setParam(kra::KEY_NETWORK, kra::NET_AOIP);
        aoip.setParam(KEY_DOUBLE_CODEC, onOffText(doubleCodec));
        if (doubleCodec)
            aoip.setParam(KEY_AUDIO_MODE, TComAoIPController::audioModeToText(TComAoIPController::AudioModeSip));
        if (!store(aoip))
            return false;

        const std::string &codecMode = doubleCodec ? kra::CMODE_DOUBLE : kra::CMODE_NORMAL;
        kra::CMsg audio = paramRequest(kra::TGT_AUDIO);
        audio.setParam(kra::KEY_IP_CODEC_MODE, codecMode);
        if (m_deviceOptions & OptIsdnDoubleCodec)
            audio.setParam(kra::KEY_ISDN_CODEC_MODE, codecMode);
        if (!store(audio))
            return false;

        kra::CMsg reinit(kra::CMsg::Do);
        reinit.setParam(kra::KEY_ACTION, kra::CMD_REINIT);
        reinit.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
        reinit.setParam(kra::KEY_NETWORK, kra::NET_AOIP);
        if (!m_rpc.execute(reinit, requestTimeoutMs))
            return false;
    }
    m_codecMode = mode;
    emit deviceStateChanged(CodecModeChanged);
    return true;
}

bool TComDevice::setDefaultNetwork(const std::string &name, bool send)
{
    if (name == m_defaultNetwork)
        return true;
    if (send && !m_rpc.setDefaultNetwork(name))
        return false;
    m_defaultNetwork = name;
    emit deviceStateChanged(DefaultNetworkChanged);

    // The new default interface's controller follows it; its own reports stay quiet until it is read.
    DeviceState follow;
    const bool wasBlocked = blockSignals(true);
    switch (networkTypeOfName(name)) {
    case 0x100:
        m_ethernet.attach(name, 0, false);
        m_ethernet.fetch({kra::KEY_MODE, TComEthernetController::KEY_CABLE});
        follow = EthernetChanged;
        break;
    case 0x300:
        m_mobile.attach(name, 0, false);
        m_mobile.fetch({KEY_MOBILE_MODE, KEY_MOBILE_SIGNAL_QUALITY});
        updateMobileSignalBars();
        follow = MobileChanged;
        break;
    case 0x400:
        m_wifi.attach(name, 0, false);
        m_wifi.fetch({TComWifiController::KEY_SIGNAL_QUALITY});
        updateWifiSignalBars();
        follow = WifiChanged;
        break;
    default:
        blockSignals(wasBlocked);
        return true;
    }
    blockSignals(wasBlocked);
    emit deviceStateChanged(follow);
    return true;
}

bool TComDevice::setSecondaryNetwork(const std::string &name, bool send)
{
    if (name == m_secondaryNetwork)
        return true;
    if (send) {
        kra::CMsg request = paramRequest(kra::TGT_NETWORK);
        request.setParam(kra::EVT_SECONDARY_NETWORK, name);
        if (!store(request))
            return false;
    }
    m_secondaryNetwork = name;
    emit deviceStateChanged(SecondaryNetworkChanged);
    return true;
}
