#pragma once

// Wire words of the settings pages that the protocol vocabulary (rpcvocabulary.h) does not hold. Each branch adds
// its own here; product code writes a word only through these names.

#include <string>

namespace settingskeys {

// The screen's "db" store.
extern const std::string KEY_AUTOLOGIN;
extern const std::string KEY_TIMEZONE;

// The zone the device's clock runs on when none was chosen, and the one region that has a single city of its name.
extern const std::string TIMEZONE_DEFAULT;
extern const std::string TIMEZONE_UTC;

// Lists of target "general".
extern const std::string LIST_TIMEZONE_REGION;

// The Opus automatic bit rate on "audio": on/off, its policy and its bounds in bit/s.
extern const std::string KEY_ABR_CALLS;
extern const std::string KEY_ABR_PROFILE;
extern const std::string KEY_ABR_MINBR;
extern const std::string KEY_ABR_MAXBR;

// The records of the device's book, by their "type" (also the name of their list).
extern const std::string TYPE_REMOTE_PROFILE;
extern const std::string TYPE_LOCAL_PROFILE;
extern const std::string TYPE_SIP_PROFILE;
extern const std::string TYPE_SNAPSHOT;
// The SIP account (1 or 2) a SIP profile is made from or loaded into.
extern const std::string KEY_ACCOUNT;

// Values of target "general" the Status branch reads: the serial number, and the battery pack's identity and
// readings with the firmware of its microcontroller, in the order the battery page shows them.
extern const std::string KEY_SERIALNO;
extern const std::string BATTERY_KEYS[8];

// The functions of the GPIO inputs and of the relays, by index.
extern const std::string GPIO_INPUT_FUNCTIONS[14];
extern const std::string RELAY_FUNCTIONS[8];

// The makers of the AoIP module, known by the beginning of the manufacturer text the module reports (any letter
// case): the one whose module has a networking mode and a maintenance system, the one whose module keeps its
// streams and clock domain to its own tools, and the one whose module reports no software revision.
extern const std::string MODULE_MAKER_NET_MODE;
extern const std::string MODULE_MAKER_OWN_TOOLS;
extern const std::string MODULE_MAKER_NO_REVISION;

// Auto redialing of the codec lines, target "network".
extern const std::string KEY_AUTO_REDIAL_LINK1;
extern const std::string KEY_AUTO_REDIAL_LINK2;
extern const std::string KEY_AUTO_REDIAL_ATTEMPTS;
extern const std::string KEY_AUTO_REDIAL_TIME;
// The NTP and FTP servers, target "general".
extern const std::string KEY_NTP_ADDR;
extern const std::string KEY_NTP_ADDR_CUSTOM;
extern const std::string KEY_FTP_ADDRESS;
extern const std::string KEY_FTP_USERNAME;
extern const std::string KEY_FTP_PASSWORD;
// The public time servers offered besides one of the user's own.
constexpr int NTP_SERVER_COUNT = 7;
extern const std::string NTP_SERVERS[NTP_SERVER_COUNT];
// The event log: the action that changes it and its two values, target "general".
extern const std::string ACT_CHANGE_SYSLOG;
extern const std::string KEY_LOG_LEVEL;
extern const std::string KEY_LOG_ADDR;
// The "level" of a reset, by category: call history, call profiles, presets, SIP profiles, snapshots, settings,
// everything, the factory SIP accounts.
constexpr int RESET_LEVEL_COUNT = 8;
extern const std::string RESET_LEVELS[RESET_LEVEL_COUNT];
// The remote access service and what identifies the unit to it (with the serial number), target "general".
extern const std::string KEY_REMOTE_ACCESS;
extern const std::string KEY_REMOTE_ACCESS_NETWORK;
extern const std::string KEY_REMOTE_ACCESS_SERVER;
extern const std::string KEY_REMOTE_ACCESS_PWD;
extern const std::string KEY_CODEC_ID;
// The interface the device picks itself.
extern const std::string VAL_AUTO;

} // namespace settingskeys
