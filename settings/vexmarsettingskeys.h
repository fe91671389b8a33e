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

} // namespace settingskeys
