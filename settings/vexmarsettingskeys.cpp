#include "settings/vexmarsettingskeys.h"

namespace settingskeys {

const std::string KEY_AUTOLOGIN("autologin");
const std::string KEY_TIMEZONE("timezone");

const std::string TIMEZONE_DEFAULT("UTC/UTC");
const std::string TIMEZONE_UTC("UTC");

const std::string LIST_TIMEZONE_REGION("timezone_region_list");

const std::string KEY_ABR_CALLS("abr_calls");
const std::string KEY_ABR_PROFILE("abr_profile");
const std::string KEY_ABR_MINBR("abr_minbr");
const std::string KEY_ABR_MAXBR("abr_maxbr");

const std::string TYPE_REMOTE_PROFILE("remote_profile");
const std::string TYPE_LOCAL_PROFILE("local_profile");
const std::string TYPE_SIP_PROFILE("sip_profile");
const std::string TYPE_SNAPSHOT("snapshot");
const std::string KEY_ACCOUNT("account");

const std::string KEY_SERIALNO("serialno");
const std::string BATTERY_KEYS[8] = {"battery_manufacturer", "battery_model", "battery_serial", "battery_voltage",
    "battery_current", "battery_cycles", "battery_temperature", "lpc824_version"};

const std::string GPIO_INPUT_FUNCTIONS[14] = {"input_event_none", "input_event_r1", "input_event_r2",
    "input_event_redial", "input_event_release", "input_event_redrel", "input_event_redial2", "input_event_release2",
    "input_event_redrel2", "input_event_progsoff", "input_event_coord1on", "input_event_coord2on",
    "input_event_coord3on", "input_event_coord4on"};
const std::string RELAY_FUNCTIONS[8] = {"relay_state_none", "relay_state_r1", "relay_state_r2", "relay_state_line",
    "relay_state_sync", "relay_state_line2", "relay_state_sync2", "relay_state_onair"};

} // namespace settingskeys
