#pragma once

// The client side of the device's recorder: its seven settings in the application's parameter store, the state
// command, the free space of the three media and the editor's hand-over parameters. Every operation that talks
// to the device waits for it (a synchronous call of the communication service); failures come back as false,
// negative or empty results. The recording, folder and editor pages each own one.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class RecorderModel final
{
public:
    // The command words of the recorder; the state command is one of "none" and the three starting ones.
    static const std::string CommandRecordStart;
    static const std::string CommandRecordStop;
    static const std::string CommandPlayStart;
    static const std::string CommandPlayStop;
    static const std::string CommandPlayPause;
    static const std::string CommandPlayUnpause;
    static const std::string DefaultProject;
    static const std::string DefaultFileName;

    RecorderModel();

    void markPrimary() { m_primary = true; }
    void setRecorderDefaults();
    // True when the device gave all seven settings. Values that came are kept, only missing ones get their
    // defaults; a device that has none of them set gets the defaults pushed.
    bool loadRecorderSettings();
    // True when the device stored all seven settings.
    bool saveRecorderSettings();

    std::string fileName() const { return m_fileName; }
    std::string projectName() const { return m_project; }
    std::string mediaDestination() const { return m_mediaDest; }
    std::string mediaSource() const { return m_mediaSrc; }
    std::string recordFormat() const { return m_format; }
    std::string stateCommand() const { return m_stateCommand; }
    std::string editorModeText() const { return m_editorMode; }

    // With push the settings are saved after the value is stored.
    void setFileName(const std::string &value, bool push);
    void setProjectName(const std::string &value, bool push);
    void setMediaDestination(const std::string &value, bool push);
    void setRecordFormat(const std::string &value, bool push);
    // The state command itself never travels; with push only the seven settings are saved.
    void setStateCommand(const std::string &value, bool push);
    // Saves unless deferPush.
    void setMediaSource(const std::string &value, bool deferPush);
    void setFileName(const std::string &value) { setFileName(value, true); }
    void setProjectName(const std::string &value) { setProjectName(value, true); }
    void setMediaDestination(const std::string &value) { setMediaDestination(value, true); }
    void setMediaSource(const std::string &value) { setMediaSource(value, false); }
    void setRecordFormat(const std::string &value) { setRecordFormat(value, true); }
    void setStateCommand(const std::string &value) { setStateCommand(value, true); }

    // The device's recorder state as a command word; "none" for stopped, unknown or unanswered.
    std::string recorderStateToCommand();

    void refreshMediaSpace();
    bool isAnyMediaAvailable() const { return m_internalAvailable || m_usbAvailable || m_sdAvailable; }
    bool isInternalAvailable() const { return m_internalAvailable; }
    bool isUsbAvailable() const { return m_usbAvailable; }
    bool isSdAvailable() const { return m_sdAvailable; }
    int internalFreeSpace() const { return m_internalFree; }
    int usbFreeSpace() const { return m_usbFree; }
    int sdFreeSpace() const { return m_sdFree; }
    int spaceThreshold() const { return m_spaceThreshold; }

    // "Internal", "USB", "SD" for the media keywords and back; empty for anything else.
    static QString mediaDisplayName(const std::string &keyword);
    static QString mediaKeyword(const QString &displayName);
    // Letters A-Z and a-z, digits, '-' and '_' stay, every other UTF-16 unit becomes '_'; at most 25 units.
    static QString sanitizeName(const QString &name);

    // The drive texts: free megabytes as "750MB", "31GB" or "n/a"; a percentage as " 45%", or "" below 1.
    static QString sizeText(int megabytes);
    static QString percentText(int percent);
    QString internalSizeText() const { return sizeText(m_internalFree); }
    QString usbSizeText() const { return sizeText(m_usbFree); }
    QString sdSizeText() const { return sizeText(m_sdFree); }
    QString internalPercentText() const { return percentText(m_internalPercent); }
    QString usbPercentText() const { return percentText(m_usbPercent); }
    QString sdPercentText() const { return percentText(m_sdPercent); }

    // Runs a command word on the current medium and project. Stop, pause and unpause report true whatever the
    // device answers; an unknown word does nothing and gives false.
    bool executeRecorderCommand(const std::string &command, const std::string &fileName);
    bool executeRecorderCommand(const std::string &command) { return executeRecorderCommand(command, {}); }

    // The device's actions on the current medium and project. The three int results are the device's: negative
    // when it refused.
    bool createProject();
    int emptyProject();
    int deleteProject();
    int deleteRecordFile(const std::string &name);
    // Each name followed by "\n".
    bool savePlaylist(const QStringList &names);
    bool buildProjectWav(const std::string &name);
    std::string projectElementList();
    std::uint64_t setMark();
    bool removeSeparator(const std::string &uri, int index);
    bool removeMark(const std::string &uri, int index);
    bool deleteTrack(const std::string &name, std::uint64_t start, std::uint64_t end, int index, std::uint64_t startH,
        std::uint64_t endH, std::uint64_t endMark);
    // The spare text is not sent.
    bool playEditorFile(const std::string &name, const std::string &spare, const std::string &mode,
        const std::string &channel, const std::string &startMark, const std::string &endMark);

    // The device's lists; what came before a failure is kept.
    std::vector<std::string> recordsPlayList();
    std::vector<std::string> recordsList();
    // Of the given medium, not the current one.
    std::vector<std::string> projectList(const std::string &media);

    // True when the device's editor mode is on (any value but "off"); an unset or unanswered one is off.
    bool loadEditorMode();
    bool saveEditorMode(const std::string &value);
    // ok, when given, tells an unanswered request from an empty value.
    std::string loadEditorNextWav(bool *ok = nullptr);
    bool saveEditorNextWav(const std::string &value);
    // The next file once: a value read is cleared on the device.
    std::string takeEditorNextWav();

    // The three-digit index and the user's name in a recording's path or file name; "" when the text has no
    // room for them.
    static QString recordIndexFromPath(const QString &path);
    static QString userNameFromFileName(const QString &name);

private:
    // A setter's push: all seven settings once the device's were read; before that only the one set.
    void pushSetting(const std::string &key, const std::string &value);
    bool startRecording();
    void routeSource();
    std::vector<std::string> fetchList(const std::string &name, const std::string *project, const std::string &media);
    static void showLimitMessage(const QString &text);

    int m_spaceThreshold = 10;
    bool m_primary = false;
    QString m_prefixIndex;
    QString m_prefixDate;
    QString m_prefixTime;
    QString m_prefixExtra;
    std::string m_fileName;
    std::string m_project;
    std::string m_mediaDest;
    std::string m_mediaSrc;
    std::string m_autorecord;
    std::string m_format;
    std::string m_isFtp;
    std::string m_editorMode;
    bool m_settingsLoaded = false;
    // The last read reached the device, so the fields hold its values (or ours where it had none).
    bool m_deviceRead = false;
    bool m_settingsSaved = false;
    std::string m_stateCommand;
    bool m_internalAvailable = false;
    bool m_usbAvailable = false;
    bool m_sdAvailable = false;
    int m_internalFree = 0;
    int m_usbFree = 0;
    int m_sdFree = 0;
    int m_internalPercent = 0;
    int m_usbPercent = 0;
    int m_sdPercent = 0;
};
