#pragma once

#include <QMetaType>

namespace QVexmar {

// Pages of the device screen. 0-16 are the indexes of the screen's page stack; 17-30 show the settings page
// opened at one of its menus.
enum Page : int {
    LoginPage = 0,
    HomePage = 1,
    AoipCall1Page = 2,
    AoipCall2Page = 3,
    VoiceCallPage = 4,
    AudioPage = 5,
    MixerInputPage = 6,
    MixerOutput1Page = 7,
    MixerOutput2Page = 8,
    Monitoring1Page = 9,
    Monitoring2Headphone1Page = 10,
    Monitoring2Headphone2Page = 11,
    Monitoring2Headphone3Page = 12,
    FolderPage = 13,
    RecordingPage = 14,
    EditorPage = 15,
    SettingsPage = 16,
    SettingsNetwork = 17,
    SettingsSipPrimary = 18,
    SettingsSipSecondary = 19,
    SettingsCoding = 20,
    SettingsCodec1 = 21,
    SettingsCodec2 = 22,
    SettingsAudio = 23,
    SettingsTools = 24,
    SettingsBook = 25,
    SettingsCallProfiles1 = 26,
    SettingsCallProfiles2 = 27,
    SettingsCallProfilesVoice = 28,
    SettingsStatus = 29,
    SettingsFtpServer = 30,
};

// The lines of the codec as the screen numbers them: the two codec lines (streams) and the voice line.
enum CodecIndex : int {
    Codec1 = 1,
    Codec2 = 2,
    VoiceCodec = 3,
};

} // namespace QVexmar

Q_DECLARE_METATYPE(QVexmar::Page)
Q_DECLARE_METATYPE(QVexmar::CodecIndex)
