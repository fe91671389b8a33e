// QVexmarSettingsPage: the Audio page (program limiter and compressor, AES67, the ways to the AoIP interface and to
// the intercom functions), whose rows take effect at once, and the intercom page, applied as a whole.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomravennacontroller.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "settings/vexmarsettingsrows.h"
#include "widgets/vexmarcontrols.h"

#include <QGridLayout>

#include <algorithm>

namespace {

using namespace settingsrows;

enum AudioRow {
    DrcStateRow = 113,
    LimiterRow = 114,
    CompressorRow = 115,
    RatioRow = 116,
    AttackRow = 117,
    Aes67Row = 118,
    InterfaceRow = 119,
    IntercomLinkRow = 111,
};
constexpr int IntercomPage = 111;
constexpr int IntercomRow = 112;

// The limiter's own range; the compressor stays below the limiter, from its lowest threshold up.
constexpr int lowestLimiter = -20;
constexpr int highestLimiter = -2;
constexpr int lowestCompressor = -40;

// Bit 1 of the matrix option word: set mutes what is not relevant while the intercom talks, clear fades it.
constexpr TMatrixSettings::MatrixOpts intercomMute = 0x2;

// A row on the page under its heading.
QVexmarMenuItem *addIndented(QVexmarMenuItems *page, int id, int kind, const QString &title)
{
    return addLocked(page, indented(newRow(page, id, kind, title)), false);
}

QString dbfsText(int value)
{
    return QStringLiteral("%1 dBFS").arg(value);
}

QString ratioText(float ratio)
{
    return QStringLiteral("%1:1").arg(double(ratio));
}

// The option value of a ratio; a number from the device too large to round (or none at all) gives one no option
// has.
int ratioValue(float ratio)
{
    const float scaled = ratio * 10;
    return scaled > -1e6f && scaled < 1e6f ? qRound(scaled) : -1;
}

QString intercomText(bool mute)
{
    return mute ? QVexmarSettingsPage::tr("Mute non-relevant signals")
                : QVexmarSettingsPage::tr("Fade non-relevant signals");
}

} // namespace

void QVexmarSettingsPage::buildAudioMenu()
{
    auto *page = new QVexmarMenuItems(AudioEntry, this);
    editedMatrixOptions = getMatrixSettings()->matrixOptions();
    const unsigned options = getDevice()->deviceOptions();
    const bool module = options & TComDevice::OptRavenna;

    addLocked(page, newRow(page, -1, QVexmarMenuItem::Label, tr("Program Limiter / Compressor")), false);
    addIndented(page, DrcStateRow, QVexmarMenuItem::Switch, tr("Dynamic Processing"));
    QVexmarMenuItem *limiter = addIndented(page, LimiterRow, QVexmarMenuItem::Wheel, tr("Limiter Threshold"));
    for (int value = lowestLimiter; value <= highestLimiter; ++value)
        limiter->addOption(value, dbfsText(value));
    addIndented(page, CompressorRow, QVexmarMenuItem::Wheel, tr("Compressor Threshold"));
    QVexmarMenuItem *ratio = addIndented(page, RatioRow, QVexmarMenuItem::Selection, tr("Compressor Ratio"));
    ratio->addOption(10, QStringLiteral("1:1 (Off)"));
    ratio->addOption(15, QStringLiteral("1.5:1"));
    ratio->addOption(20, QStringLiteral("2:1"));
    ratio->addOption(30, QStringLiteral("3:1"));
    ratio->addOption(60, QStringLiteral("6:1"));
    QVexmarMenuItem *attack = addIndented(page, AttackRow, QVexmarMenuItem::Selection, tr("Attack Time"));
    attack->addOption(0, tr("Fast"));
    attack->addOption(1, tr("Medium"));
    attack->addOption(2, tr("Slow"));

    if (module) {
        addHeader(page, tr("AES67"));
        QVexmarMenuItem *state = addIndented(page, Aes67Row, QVexmarMenuItem::Selection, tr("State"));
        state->addOption(0, tr("Disabled"));
        state->addOption(1, tr("Active"));
    } else {
        addHeader(page, QString());
    }
    const bool dante = options & TComDevice::OptRavenna2;
    QVexmarMenuItem *link = newRow(page, InterfaceRow, QVexmarMenuItem::SubMenu, dante ? tr("DANTE") : tr("RAVENNA"));
    link->setValueText(dante ? tr("Configure the DANTE interface") : tr("Configure the RAVENNA interface"));
    addLocked(page, module ? indented(link) : link, false);
    // No other row leads to the intercom page: it follows the module's link, as one more setting of the audio.
    QVexmarMenuItem *intercom = newRow(page, IntercomLinkRow, QVexmarMenuItem::SubMenu, tr("Intercom Functions"));
    intercom->layout->setContentsMargins(10, 20, 10, 0);
    addLocked(page, intercom, false);

    updateAudioMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateAudioMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    const TAudioSettings *audio = getAudioSettings();
    const TComDevice *device = getDevice();
    const int limiter = audio->drcLimThreshold();
    if (QVexmarMenuItem *row = page->findItem(DrcStateRow))
        row->setChecked(audio->drcState());
    // Held values the rows do not offer show red with no option current, so that nothing passes for them.
    if (QVexmarMenuItem *row = page->findItem(LimiterRow)) {
        row->setLocked(row->isLocked());
        showHeldOption(row, limiter, dbfsText(limiter));
    }
    if (QVexmarMenuItem *row = page->findItem(CompressorRow)) {
        // The list is sized by the limiter's own range, never by whatever number the device sent.
        const int top = std::clamp(limiter, lowestLimiter, highestLimiter);
        row->clearOptions();
        for (int value = lowestCompressor; value < top; ++value)
            row->addOption(value, dbfsText(value));
        row->setLocked(row->isLocked());
        showHeldOption(row, audio->drcThresholdCmp(), dbfsText(audio->drcThresholdCmp()));
        row->updateEditor();
    }
    if (QVexmarMenuItem *row = page->findItem(RatioRow)) {
        row->setLocked(row->isLocked());
        showHeldOption(row, ratioValue(audio->drcRatioCmp()), ratioText(audio->drcRatioCmp()));
    }
    if (QVexmarMenuItem *row = page->findItem(AttackRow)) {
        row->setLocked(row->isLocked());
        showHeldOption(row, audio->drcAttack(), QString::number(audio->drcAttack()));
    }
    if (QVexmarMenuItem *row = page->findItem(Aes67Row))
        row->selectOption(device->aes67Reset() ? 0 : 1, true, false);
    if (QVexmarMenuItem *row = page->findItem(InterfaceRow)) {
        const bool open = (device->deviceOptions() & TComDevice::OptRavenna) && !device->aes67Reset()
            && getRavennaController()->state() != TComController::NotRead;
        row->setLocked(!open);
    }
    if (QVexmarMenuItem *row = page->findItem(IntercomLinkRow))
        row->setValueText(intercomText(getMatrixSettings()->matrixOptions() & intercomMute));
}

void QVexmarSettingsPage::buildIntercomMenu()
{
    auto *page = new QVexmarMenuItems(IntercomPage, this);
    editedMatrixOptions = getMatrixSettings()->matrixOptions();
    addSwitch(page, IntercomRow, tr("Intercom Functions"), editedMatrixOptions & intercomMute, false,
        {{0, intercomText(false)}, {1, intercomText(true)}});
    updateIntercomMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateIntercomMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    if (QVexmarMenuItem *row = page->findItem(IntercomRow))
        row->setChecked(editedMatrixOptions & intercomMute);
}

bool QVexmarSettingsPage::hasIntercomChanges(QVexmarMenuItems *page)
{
    if (!page || (page->pageId != IntercomPage && page->pageId != IntercomRow))
        return false;
    // The other bits are the device's, which may change them while the page is open.
    return (editedMatrixOptions ^ getMatrixSettings()->matrixOptions()) & intercomMute;
}

bool QVexmarSettingsPage::applyIntercom(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    if (page->pageId != IntercomPage && page->pageId != IntercomRow)
        return true;
    if (!hasIntercomChanges(page))
        return true;
    TMatrixSettings *matrix = getMatrixSettings();
    // Only the intercom bit is the page's: the rest of the word is what the device holds now, not at the build,
    // and a change on the device may not have reached the model yet.
    if (!matrix->fetch({KEY_MATRIX_OPT})) {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    const TMatrixSettings::MatrixOpts word
        = (matrix->matrixOptions() & ~intercomMute) | (editedMatrixOptions & intercomMute);
    if (word == matrix->matrixOptions())
        return true;
    showMessagePopup(tr("Applying changes..."), 1000);
    // A refusal keeps the user's choice on the page and in the copy, so that the mark stays true and a retry sends.
    if (!matrix->setMatrixOptions(word, true)) {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    editedMatrixOptions = word;
    if (QVexmarMenuItems *audio = findItems(AudioEntry)) {
        if (QVexmarMenuItem *link = audio->findItem(IntercomLinkRow))
            link->setValueText(intercomText(matrix->matrixOptions() & intercomMute));
    }
    return true;
}

void QVexmarSettingsPage::audioValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    if (page->pageId == 119) {
        aoipInterfaceValueChanged(item);
        return;
    }
    if (page->pageId == IntercomPage) {
        if (item->id == IntercomRow && item->switchButton) {
            if (item->switchButton->isChecked())
                editedMatrixOptions |= intercomMute;
            else
                editedMatrixOptions &= ~intercomMute;
        }
        markChanges(page, &QVexmarSettingsPage::hasIntercomChanges);
        return;
    }
    if (page->pageId != AudioEntry)
        return;

    TAudioSettings *audio = getAudioSettings();
    if (item->id == DrcStateRow) {
        const bool on = item->switchButton && item->switchButton->isChecked();
        setImmediately(item, audio->setDrcState(on, true), audio->drcState());
        return;
    }
    int value = 0;
    if (!chosenValue(item, value))
        return;
    switch (item->id) {
    case LimiterRow:
        // The compressor must stay below the limiter: lowered first, and nothing more when that is refused.
        if (value <= audio->drcThresholdCmp()
            && !setImmediately(item, audio->setDrcThresholdCmp(value - 1, true), audio->drcLimThreshold(),
                dbfsText(audio->drcLimThreshold())))
            return;
        if (setImmediately(item, audio->setDrcLimThreshold(value, true), audio->drcLimThreshold(),
                dbfsText(audio->drcLimThreshold())))
            updateAudioMenu(page);
        return;
    case CompressorRow:
        setImmediately(
            item, audio->setDrcThresholdCmp(value, true), audio->drcThresholdCmp(), dbfsText(audio->drcThresholdCmp()));
        return;
    case RatioRow:
        setImmediately(item, audio->setDrcRatioCmp(float(value) / 10.0f, true), ratioValue(audio->drcRatioCmp()),
            ratioText(audio->drcRatioCmp()));
        return;
    case AttackRow:
        setImmediately(item, audio->setDrcAttack(value, true), audio->drcAttack());
        return;
    case Aes67Row: {
        TComDevice *device = getDevice();
        if (refusedDuringCall(item, device->aes67Reset() ? 0 : 1))
            return;
        // "Disabled" is the reset flag set. The module's controller is read anew once AES67 runs again.
        if (setImmediately(item, device->setAes67Reset(value == 0, true, false), device->aes67Reset() ? 0 : 1)) {
            getRavennaController()->reset();
            updateAudioMenu(page);
        }
        return;
    }
    default:
        return;
    }
}
