#include "settings/codingrows.h"

#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "widgets/menu/vexmarmenuitem.h"

#include <algorithm>

namespace {

// Far more than a codec offers for one field; a longer list would only make the choice unusable.
constexpr int maxChoices = 256;

// The device's list as choices: a word the program does not know (-1) can be neither named nor sent back.
std::vector<int> choices(const std::vector<int> &listed)
{
    std::vector<int> kept;
    for (int value : listed) {
        if (value != -1 && int(kept.size()) < maxChoices)
            kept.push_back(value);
    }
    return kept;
}

// A row with nothing to choose: empty, locked and hidden.
void clearRow(QVexmarMenuItem *row)
{
    if (!row)
        return;
    row->clearOptions();
    row->setValueText(QString());
    row->setLocked(true);
    row->setHidden(true);
}

} // namespace

void CodingRows::fill(
    QVexmarMenuItem *row, const std::vector<int> &listed, const std::function<QString(int)> &text, int &edited)
{
    if (!row)
        return;
    const std::vector<int> values = choices(listed);
    row->clearOptions();
    for (int value : values)
        row->addOption(value, text(value));
    if (!values.empty() && std::find(values.begin(), values.end(), edited) == values.end())
        edited = values.front();
    // setLocked first: it sets the colour, and a value once shown in red must not stay red.
    row->setLocked(values.size() < 2);
    if (row->selectOption(edited, true, false) == -1)
        row->setValueText(QString());
    row->setHidden(false);
}

QString CodingRows::sampleRateText(int hertz)
{
    return QStringLiteral("%1 kHz").arg(hertz / 1000);
}

QString CodingRows::bitRateText(int bitsPerSecond)
{
    return QStringLiteral("%1 kbit/s").arg(bitsPerSecond / 1000);
}

void CodingRows::update(TComDevice *device, CodecFormat &coding) const
{
    const int alg = coding.algorithm;
    if (algorithm) {
        std::vector<int> listed;
        device->getCodecAlgorithms(codecMode, listed, networkType);
        listed = choices(listed);
        algorithm->clearOptions();
        for (const auto &[value, text] : leadingAlgorithms)
            algorithm->addOption(value, text);
        for (int value : listed)
            algorithm->addOption(value, QVexmarLocalize::algorithmName(value));
        const bool offered = algorithm->selectOption(alg, true, true) != -1;
        // setLocked first: it sets the colour. An algorithm the list does not hold (one picked for another network,
        // or stored so) shows red with no option current, open for a choice, so that nothing stores it unseen.
        algorithm->setLocked(offered && listed.size() < 2);
        if (!offered) {
            algorithm->setValueTextAndGlobalColor(QVexmarLocalize::algorithmName(alg), Qt::red, true);
            algorithm->selectOption(alg, false, true);
        }
        algorithm->setHidden(false);
    }

    if (takesNoCoding && takesNoCoding(alg)) {
        for (QVexmarMenuItem *row : {channelMode, sampleRate, bitRate})
            clearRow(row);
        return;
    }

    std::vector<int> listed;
    if (channelMode) {
        device->getCodecModes(codecMode, alg, listed, networkType);
        fill(channelMode, listed, &QVexmarLocalize::audioModeName, coding.channelMode);
    }

    if (sampleRate) {
        const int khz = fixedRateKhz ? fixedRateKhz(alg) : 0;
        if (khz > 0) {
            coding.sampleRate = 48000;
            coding.bitRate = 64000;
            fill(
                sampleRate, {coding.sampleRate}, [khz](int) { return QStringLiteral("%1 kHz").arg(khz); },
                coding.sampleRate);
        } else {
            device->getCodecSampleRates(codecMode, alg, coding.channelMode, listed, networkType);
            fill(sampleRate, listed, &CodingRows::sampleRateText, coding.sampleRate);
        }
    }

    if (bitRate) {
        device->getCodecBitrates(codecMode, alg, coding.channelMode, coding.sampleRate, listed, networkType);
        fill(bitRate, listed, &CodingRows::bitRateText, coding.bitRate);
    }
}
