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

const std::string MODULE_MAKER_NET_MODE("Merging");
const std::string MODULE_MAKER_OWN_TOOLS("Audinate");
const std::string MODULE_MAKER_NO_REVISION("ArchWave");

const std::string KEY_AUTO_REDIAL_LINK1("auto_redial_link1");
const std::string KEY_AUTO_REDIAL_LINK2("auto_redial_link2");
const std::string KEY_AUTO_REDIAL_ATTEMPTS("auto_redial_attempts");
const std::string KEY_AUTO_REDIAL_TIME("auto_redial_time");
const std::string KEY_NTP_ADDR("ntp_addr");
const std::string KEY_NTP_ADDR_CUSTOM("ntp_addr_custom");
const std::string KEY_FTP_ADDRESS("ftp_address");
const std::string KEY_FTP_USERNAME("ftp_username");
const std::string KEY_FTP_PASSWORD("ftp_password");
const std::string NTP_SERVERS[NTP_SERVER_COUNT] = {"pool.ntp.org", "europe.pool.ntp.org", "north-america.pool.ntp.org",
    "asia.pool.ntp.org", "time.cloudflare.com", "time.google.com", "time.windows.com"};

const std::string ACT_CHANGE_SYSLOG("change_syslog");
const std::string KEY_LOG_LEVEL("log_level");
const std::string KEY_LOG_ADDR("log_addr");
const std::string RESET_LEVELS[RESET_LEVEL_COUNT]
    = {"addrhistory", "remote_profile", "local_profile", "sip_profile", "snapshot", "settings", "full", "sipaccount"};
const std::string KEY_REMOTE_ACCESS("remote_access");
const std::string KEY_REMOTE_ACCESS_NETWORK("remote_access_network");
const std::string KEY_REMOTE_ACCESS_SERVER("remote_access_server");
const std::string KEY_REMOTE_ACCESS_PWD("remote_access_pwd");
const std::string KEY_CODEC_ID("codec_id");
const std::string VAL_AUTO("auto");

} // namespace settingskeys
