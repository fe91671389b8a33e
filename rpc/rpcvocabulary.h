#pragma once

// The protocol's words. Every body that is built or read uses these constants, never literals of its own.

#include <string>

namespace kra {

// Message keys
extern const std::string KEY_ACTION;
extern const std::string KEY_CAUSE;
extern const std::string KEY_CAUSE_INFO;
extern const std::string KEY_RETURN;
extern const std::string KEY_ID;
extern const std::string KEY_TARGET;
extern const std::string KEY_NETWORK;
extern const std::string KEY_NETWORK_MODE;
extern const std::string KEY_CAT;
extern const std::string KEY_EVENT_TYPE;
extern const std::string KEY_INFO_TYPE;
extern const std::string KEY_INFO_SOURCE;
extern const std::string KEY_PROGRESS;
extern const std::string KEY_TYPE;
extern const std::string KEY_STATE;
extern const std::string KEY_MODE;
extern const std::string KEY_PASSWORD;
extern const std::string KEY_INFO;

// Parameter keys of calls, codecs, links, recorder positions, relays and inputs
extern const std::string KEY_CODEC;
extern const std::string KEY_CODEC_RX;
extern const std::string KEY_CODEC_TX;
extern const std::string KEY_ALG;
extern const std::string KEY_BITRATE;
extern const std::string KEY_SAMPLERATE;
extern const std::string KEY_ERRORC;
extern const std::string KEY_CODEC_MODE;
extern const std::string KEY_COORD_MODE;
extern const std::string KEY_DSTREAM_MODE;
extern const std::string KEY_DCODEC_1;
extern const std::string KEY_DCODEC_TX_1;
extern const std::string KEY_DCODEC_RX_1;
extern const std::string KEY_DCODEC_2;
extern const std::string KEY_DCODEC_TX_2;
extern const std::string KEY_DCODEC_RX_2;
extern const std::string KEY_COMM_LINK;
extern const std::string KEY_REMOTE_ADDR;
extern const std::string KEY_REMOTE_ADDR2;
extern const std::string KEY_REMOTE_ADDR3;
extern const std::string KEY_REMOTE_ADDR4;
extern const std::string KEY_LOCAL_ADDR;
extern const std::string KEY_LOCAL_ADDR2;
extern const std::string KEY_NAME;
extern const std::string KEY_CMD;
extern const std::string KEY_RELAY_IN;
extern const std::string KEY_RELAY_OUT;
extern const std::string KEY_COORD_LINE;
extern const std::string KEY_STUN_NAT_TYPE;
extern const std::string KEY_PUBLIC_ADDR;
extern const std::string KEY_PUBLIC_PORT;
extern const std::string KEY_PATH;
extern const std::string KEY_SECONDS_TOTAL;
extern const std::string KEY_SECONDS_PASSED;
extern const std::string KEY_SECONDS_REMAINING;
extern const std::string KEY_MARK_BEGIN_SEC;
extern const std::string KEY_MARK_END_SEC;
extern const std::string KEY_MARK_BEGIN_BYTE;
extern const std::string KEY_MARK_END_BYTE;
extern const std::string KEY_MAX_BANDWIDTH;
extern const std::string KEY_EXT_INPUT1;
extern const std::string KEY_EXT_INPUT2;
extern const std::string KEY_EXT_INPUT3;
extern const std::string KEY_EXT_INPUT4;
extern const std::string KEY_EXT_INPUT5;
extern const std::string KEY_EXT_INPUT6;
extern const std::string KEY_EXT_RELAY1;
extern const std::string KEY_EXT_RELAY2;
extern const std::string KEY_EXT_RELAY3;
extern const std::string KEY_EXT_RELAY4;
extern const std::string KEY_EXT_RELAY5;
extern const std::string KEY_EXT_RELAY6;
extern const std::string KEY_EXT_RELAY7;
extern const std::string KEY_EXT_RELAY8;
extern const std::string KEY_DIGI_IN1;
extern const std::string KEY_DIGI_IN2;
extern const std::string KEY_DIGI_IN3;
extern const std::string KEY_DIGI_IN4;
extern const std::string KEY_DIGI_IN5;
extern const std::string KEY_DIGI_IN6;
extern const std::string KEY_DIGI_IN7;
extern const std::string KEY_DIGI_IN8;
extern const std::string KEY_LINK1;
extern const std::string KEY_LINK2;
extern const std::string KEY_KEYS;

// Targets and categories
inline const std::string &TGT_NETWORK = KEY_NETWORK;
extern const std::string TGT_AUDIO;
extern const std::string TGT_UI;
extern const std::string TGT_GENERAL;
extern const std::string TGT_DB;
extern const std::string TGT_IP;
extern const std::string TGT_ETH;
extern const std::string TGT_MOBILE;
extern const std::string TGT_WIFI;
extern const std::string TGT_ISDN;
extern const std::string TGT_POTS;
extern const std::string TGT_LL;
extern const std::string TGT_HWTEST;

// Device, recorder, file and project commands and their keys
extern const std::string CMD_CON;
extern const std::string CMD_CONACC;
extern const std::string CMD_SEND_USER_INFO;
extern const std::string CMD_DCON;
extern const std::string CMD_REBOOT;
extern const std::string CMD_SHUTDOWN;
extern const std::string CMD_REINIT;
extern const std::string CMD_SUBSCRIBE;
extern const std::string CMD_UNSUBSCRIBE;
extern const std::string CMD_CREATE;
extern const std::string CMD_DELETE;
extern const std::string CMD_UPDATE;
extern const std::string CMD_RENAME;
extern const std::string CMD_OPEN;
extern const std::string CMD_LOAD;
extern const std::string CMD_CALL;
extern const std::string CMD_IMPORT;
extern const std::string CMD_EXPORT;
extern const std::string CMD_RESET;
extern const std::string CMD_VALIDATE;
extern const std::string CMD_CHANGE_RELAY_IN;
extern const std::string CMD_CHANGE_RELAY_OUT;
extern const std::string CMD_CHANGE_ALARM_OUT;
extern const std::string CMD_CHANGE_WATCHDOG_OUT;
extern const std::string CMD_SYSTEM_UPDATE;
extern const std::string CMD_START;
extern const std::string CMD_STOP;
extern const std::string CMD_PLAY;
extern const std::string CMD_FFORWARD;
extern const std::string CMD_REWIND;
extern const std::string CMD_SET_MARK;
extern const std::string CMD_SEND;
extern const std::string CMD_STOP_UPLOAD;
extern const std::string CMD_DISPLAY;
extern const std::string CMD_CHANGE_USB;
extern const std::string CMD_GET_FREESPACE_RECORD;
extern const std::string CMD_GET_FREESPACE_USB;
extern const std::string CMD_GET_FREESPACE_SDCARD;
extern const std::string CMD_GET_FREESPACE_P_RECORD;
extern const std::string CMD_GET_FREESPACE_P_USB;
extern const std::string CMD_GET_FREESPACE_P_SDCARD;
extern const std::string CMD_DELETE_RECORD_FILE;
extern const std::string CMD_DELETE_RECORD_DIR;
extern const std::string CMD_EMPTY_RECORD_DIR;
extern const std::string CMD_GET_PLAYBACK_FULLPATH;
extern const std::string CMD_GET_RECORD_FULLPATH;
extern const std::string CMD_GET_RECORD_FILENAME;
extern const std::string CMD_GET_RECORD_INDEX;
extern const std::string CMD_GET_RECORD_FOLDER;
extern const std::string CMD_RECORD_COPY_TO;
extern const std::string CMD_RECORD_COPY_FROM;
extern const std::string CMD_RECORD_FILE_COPY_TO;
extern const std::string CMD_GET_PROJECT_SIZE;
extern const std::string CMD_GET_FILE_SIZE;
extern const std::string CMD_GET_PROJECT_PATH;
extern const std::string CMD_PROJECT_BUILD_WAV;
extern const std::string CMD_PROJECT_DELETE_TRACK;
extern const std::string CMD_FORMAT_USB;
extern const std::string CMD_FORMAT_SDCARD;
extern const std::string CMD_FORMAT_INTERNAL;
extern const std::string CMD_REPAIR_USB;
extern const std::string CMD_REPAIR_SDCARD;
extern const std::string CMD_REPAIR_INTERNAL;
extern const std::string CMD_UNMOUNT_USB;
extern const std::string CMD_UNMOUNT_SDCARD;
extern const std::string CMD_RECORD_USER_FNAME;
extern const std::string CMD_RECORD_INDEX;
extern const std::string CMD_RECORD_EXTENTION;
extern const std::string CMD_RECORD_PROJECT;
extern const std::string CMD_RECORD_MOUNT_POINT;
extern const std::string CMD_SAVE_PLAYLIST;
extern const std::string CMD_TIMEZONE_PARAM;
extern const std::string CMD_WAV_TO_DATA;
extern const std::string CMD_PROJECT_GET_SOURCE;
extern const std::string CMD_PROJECT_SET_SOURCE;
extern const std::string CMD_PROJECT_ACTION_ADD;
extern const std::string CMD_PROJECT_ACTION_REMOVE;
extern const std::string CMD_PROJECT_WAVMAP;
extern const std::string CMD_PROJECT_CHANNEL;
extern const std::string CMD_PROJECT_ELEMENT;
extern const std::string CMD_PROJECT_ELEMENT_TRACKS;
extern const std::string CMD_PROJECT_SEPARATORS;
extern const std::string CMD_PROJECT_ELEMENT_MARKS;
extern const std::string CMD_PROJECT_VALUE_START;
extern const std::string CMD_PROJECT_VALUE_END;
extern const std::string CMD_PROJECT_VALUE_HSTART;
extern const std::string CMD_PROJECT_VALUE_HEND;
extern const std::string CMD_PLAYBACK_MODE;
extern const std::string CMD_CHANNEL;
extern const std::string CMD_START_MARK;
extern const std::string CMD_END_MARK;
extern const std::string CMD_PROJECT_NEW;
extern const std::string CMD_PROJECT_LIST;

// Return words
extern const std::string RET_PROGRESS;
extern const std::string RET_OK;
extern const std::string RET_NOK;
extern const std::string RET_ERROR;

// Event and info names and call-state texts
extern const std::string EVT_HARDWARE_FAILURE;
extern const std::string EVT_HARDWARE_UNPLUGGED;
extern const std::string EVT_CONFIG_INFO;
extern const std::string EVT_AOIP_CONFIG;
extern const std::string EVT_STUN_INFO;
extern const std::string EVT_CALL_INFO;
extern const std::string EVT_CODEC_INFORMATION;
extern const std::string EVT_CALL_PROCEEDING;
extern const std::string EVT_CALL_ALERTING;
extern const std::string EVT_CALL_RING;
extern const std::string EVT_CALL_RECEIVED;
extern const std::string EVT_CALL_ACTIVE;
extern const std::string EVT_USER_INFO;
extern const std::string EVT_TX_QUALITY_REPORT;
extern const std::string EVT_RX_QUALITY_REPORT;
extern const std::string EVT_CALL_DISCONNECTED;
extern const std::string EVT_CALL_RELEASED;
extern const std::string EVT_CALL_LOST;
extern const std::string EVT_CALL_ERROR;
extern const std::string EVT_CALL_AUTO_REDIAL;
extern const std::string EVT_DATA_CONNECTED;
extern const std::string EVT_DATA_DISCONNECTED;
extern const std::string EVT_DEFAULT_NETWORK;
extern const std::string EVT_SECONDARY_NETWORK;
extern const std::string EVT_DEFAULT_CODEC;
extern const std::string EVT_CODEC_CHANGE;
extern const std::string EVT_DSP_STATUS;
extern const std::string EVT_REC_STATUS;
extern const std::string EVT_CHANNEL_REQUEST;
extern const std::string EVT_BGAN_DETECTED;
extern const std::string EVT_BGAN_STATE;
inline const std::string &EVT_RELAY_IN = KEY_RELAY_IN;
inline const std::string &EVT_RELAY_OUT = KEY_RELAY_OUT;
extern const std::string EVT_DIGI_IN;
extern const std::string EVT_REMOTE_CMD;
extern const std::string EVT_TEXT_MESSAGE;
extern const std::string EVT_RESTART_REQUIRED;
inline const std::string &EVT_SYSTEM_UPDATE = CMD_SYSTEM_UPDATE;
extern const std::string EVT_REBOOTING;
extern const std::string EVT_SHUTTINGDOWN;
extern const std::string EVT_SHUTDOWN_REQUEST;
extern const std::string EVT_UPLOAD_STATE;
extern const std::string EVT_KNOWN_KEYS;
extern const std::string EVT_ALARM;
extern const std::string EVT_CONTROL_LINK;
inline const std::string &EVT_DISPLAY = CMD_DISPLAY;
extern const std::string EVT_DATA_CON_REQUEST;
extern const std::string EVT_DATA_DCON_REQUEST;
extern const std::string EVT_USB_DEVICE_DETECT;
extern const std::string EVT_BATTERY_LEVEL;
extern const std::string EVT_INPUT_STATE;
extern const std::string EVT_INPUT_LIMITER;
extern const std::string EVT_SIGNAL_QUALITY;
extern const std::string EVT_NETWORK_INFO;
extern const std::string EVT_POTS_SPEED;
extern const std::string EVT_TIME_STAMP;
extern const std::string EVT_UPLOAD_PROGRESS;
extern const std::string EVT_HEADPHONE_SOURCE;
extern const std::string EVT_AUDIO_CHANGESET;
extern const std::string EVT_SIP_REGISTRATION;
extern const std::string EVT_SIP_REGISTRATION2;
extern const std::string EVT_CONFIG_CHANGESET;
extern const std::string EVT_ALARM_PLL1;
extern const std::string EVT_ALARM_PLL2;
extern const std::string EVT_ALARM_CLK1;
extern const std::string EVT_ALARM_CLK2;
extern const std::string EVT_ALARM_SLIP_CLK1;
extern const std::string EVT_ALARM_SLIP_CLK2;
extern const std::string EVT_ALARM_DEC1;
extern const std::string EVT_ALARM_DEC2;
extern const std::string EVT_ALARM_FALLBACK_ENC1;
extern const std::string EVT_ALARM_FALLBACK_ENC2;
extern const std::string EVT_ALARM_FALLBACK_DEC1;
extern const std::string EVT_ALARM_FALLBACK_DEC2;
extern const std::string EVT_ALARM_OVL;
extern const std::string EVT_ALARM_TEMPERATURE;
extern const std::string EVT_ALARM_VOLTAGE;
extern const std::string EVT_ALARM_AES_UNLOCK;
extern const std::string EVT_ALARM_AES_VALIDITY;
extern const std::string EVT_ALARM_AES_ERROR;
extern const std::string EVT_ALARM_INTERNAL;
extern const std::string EVT_ALARM_EXTERNAL;

// Codec algorithm names
extern const std::string CODEC_CELP;
extern const std::string CODEC_PCMA;
extern const std::string CODEC_PCMU;
extern const std::string CODEC_G711;
extern const std::string CODEC_G722;
extern const std::string CODEC_G722_SRT;
extern const std::string CODEC_G722_H221;
extern const std::string CODEC_G722_H242;
extern const std::string CODEC_TDAC;
extern const std::string CODEC_TDAC_G722;
extern const std::string CODEC_G722_TDAC;
extern const std::string CODEC_4SB;
extern const std::string CODEC_MPA2;
extern const std::string CODEC_MPA2P;
extern const std::string CODEC_AAC_LBR;
extern const std::string CODEC_AAC_HE;
extern const std::string CODEC_AAC_HEV2;
extern const std::string CODEC_MPA3;
extern const std::string CODEC_GSM;
extern const std::string CODEC_PHONE;
extern const std::string CODEC_OPUS;
extern const std::string CODEC_L16;
extern const std::string CODEC_L20;
extern const std::string CODEC_L24;
extern const std::string CODEC_AAC_LBR_LOAS;
extern const std::string CODEC_AAC_HE_LOAS;
extern const std::string CODEC_AAC_HEV2_LOAS;
extern const std::string CODEC_AAC_LD;
extern const std::string CODEC_AAC_ELD;

// Channel modes
extern const std::string CHMODE_MONO;
extern const std::string CHMODE_DMONO;
extern const std::string CHMODE_STEREO;
extern const std::string CHMODE_JSTEREO;

// Sample and bit rates
extern const std::string RATE_8000;
extern const std::string RATE_16000;
extern const std::string RATE_24000;
extern const std::string RATE_27200;
extern const std::string RATE_32000;
extern const std::string RATE_48000;
extern const std::string RATE_56000;
extern const std::string RATE_64000;
extern const std::string RATE_96000;
extern const std::string RATE_128000;
extern const std::string RATE_192000;
extern const std::string RATE_256000;
extern const std::string RATE_320000;
extern const std::string RATE_384000;

// Error texts
extern const std::string ERR_LOCATION_UNAVAILABLE;
extern const std::string ERR_NETWORK_UNREACHABLE;
extern const std::string ERR_WRONG_FORMAT;
extern const std::string ERR_INVALID_FILE;
extern const std::string ERR_DESTINATION_UNREACHABLE;
extern const std::string ERR_FILE_CORRUPTED;
extern const std::string ERR_WRONG_VERSION;
extern const std::string ERR_WRONG_UNIT;
extern const std::string ERR_SDCARD_MISSING;
extern const std::string ERR_SIM_MISSING;
extern const std::string ERR_SIM_LOCKED;
extern const std::string ERR_NO_GPS_FIX;
extern const std::string ERR_NOT_ATTACHED;
extern const std::string ERR_PPP_TIMEOUT;
extern const std::string ERR_NOT_ALLOWED;
extern const std::string ERR_NO_SIGNAL;
extern const std::string ERR_SIM_BUSY;
extern const std::string ERR_PH_SIM_PIN;
extern const std::string ERR_PH_FSIM_PIN;
extern const std::string ERR_PH_FSIM_PUK;
extern const std::string ERR_PH_NET_PIN;
extern const std::string ERR_PH_NET_PUK;
extern const std::string ERR_PH_NETSUB_PIN;
extern const std::string ERR_PH_NETSUB_PUK;
extern const std::string ERR_PH_SP_PIN;
extern const std::string ERR_PH_SP_PUK;
extern const std::string ERR_PH_CORP_PIN;
extern const std::string ERR_PH_CORP_PUK;
extern const std::string ERR_WRONG_PASSWORD;
extern const std::string ERR_PARAMETER_NOT_SET;
extern const std::string ERR_UNKNOWN_PARAMETER;
extern const std::string ERR_PARAMETER_SET_ERROR;
extern const std::string ERR_MANDATORY_PARAMETER_MISSING;
extern const std::string ERR_INVALID_VALUE;
extern const std::string ERR_INVALID_ID;
extern const std::string ERR_NO_SPACE_LEFT;
extern const std::string ERR_INVALID_CONFIG;
extern const std::string ERR_NOT_SUPPORTED;
extern const std::string ERR_NOT_AVAILABLE;
extern const std::string ERR_FILENAME_ALREADY_EXISTS;
extern const std::string ERR_FILE_NOT_FOUND;
extern const std::string ERR_UNKNOWN_DESTINATION;
extern const std::string ERR_UNIMPLEMENTED;
extern const std::string ERR_RESOURCE_BUSY;
extern const std::string ERR_INVALID_STATE;
extern const std::string ERR_TIMEOUT;
extern const std::string ERR_RESOURCE_UNAVAILABLE;
extern const std::string ERR_REMOTE_ADDRESS_MISSING;
extern const std::string ERR_NO_CONNECTION;
extern const std::string ERR_NO_INCOMING_CALL_PENDING;
extern const std::string ERR_PIN_REQUIRED;
extern const std::string ERR_NOT_REGISTERED;
extern const std::string ERR_PUK_REQUIRED;
extern const std::string ERR_PIN2_REQUIRED;
extern const std::string ERR_PUK2_REQUIRED;
extern const std::string ERR_CONNECTION_ACTIVE;
extern const std::string ERR_LOOP_CONTROL_ACTIVE;
extern const std::string ERR_MOBILE_DATA_SERVICE_OFF;
extern const std::string ERR_MOBILE_DATA_SERVICE_FAILURE;
extern const std::string ERR_MOBILE_DATA_SERVICE_PROCESSING;
extern const std::string ERR_USB_HOST_CONNECTED;
extern const std::string ERR_NOT_AVAILABLE_ON_4G;
extern const std::string ERR_NO_CABLE;
extern const std::string ERR_WIFI_OFF;
extern const std::string ERR_WIFI_FAILURE;
extern const std::string ERR_WIFI_CONNECTING;
extern const std::string ERR_ACCOUNT_NOT_ACCEPTED;
extern const std::string ERR_INCOMPATIBLE_WITH_SIP1;
extern const std::string ERR_INCONSISTANT_WITH_SIP2;
extern const std::string ERR_SIP1_NOT_CONFIGURED;
extern const std::string ERR_UNKNOWN_ERROR;
extern const std::string ERR_HARDWARE_ERROR;
extern const std::string ERR_FILE_SYSTEM_ERROR;
extern const std::string ERR_OS_ERROR;
extern const std::string ERR_UNKNOWN_COMMAND;

// Recorder, playback and clock actions
extern const std::string ACT_RECORD_START;
extern const std::string ACT_RECORD_STOP;
extern const std::string ACT_RECORD_PAUSE;
extern const std::string ACT_RECORD_UPAUSE;
extern const std::string ACT_RECORD_FORMAT;
extern const std::string ACT_GENERIC_URI;
extern const std::string ACT_RECORD_SOURCE;
extern const std::string ACT_PLAYBACK_START;
extern const std::string ACT_PLAYBACK_STOP;
extern const std::string ACT_PLAYBACK_PAUSE;
extern const std::string ACT_PLAYBACK_UNPAUSE;
extern const std::string ACT_PLAYBACK_FORWARD;
extern const std::string ACT_PLAYBACK_BACKWARD;
extern const std::string ACT_SET_TIMEZONE;

// Words of the reply handling
extern const std::string EMPTY_WORD;
extern const std::string KEY_RETURN_FMT;
extern const std::string FMT_EXT;
// Between the items of a LIST value, and between its partial replies, when "returnFmt" is "EXT".
constexpr char EXT_LIST_SEPARATOR = '\x1d';

// Words of the body syntax
extern const std::string WORD_PARAM;
extern const std::string WORD_DO;
extern const std::string WORD_INFO;
extern const std::string WORD_EVENT;
extern const std::string WORD_GET;
extern const std::string WORD_LIST;

// Words of the communication service: the "db" context and the level notifications
extern const std::string KEY_CONTROLLER_ID;
extern const std::string EVT_AUDIO_LEVELS;

// How boolean parameters travel
extern const std::string VAL_ON;
extern const std::string VAL_OFF;

// Words of the device model: its option list, battery, codec set-up, clock, relays and call records
extern const std::string KEY_DEVICE_OPTS;
extern const std::string OPT_IP_DCODEC;
extern const std::string OPT_ISDN_DCODEC;
extern const std::string OPT_MOBILE_PREFIX;
inline const std::string &OPT_WIFI_PREFIX = TGT_WIFI;
extern const std::string OPT_RAVENNA;
extern const std::string OPT_RAVENNA_PREFIX;
extern const std::string OPT_REMOTE_ACCESS_PREFIX;
extern const std::string OPT_IP_DSTREAM_PREFIX;
extern const std::string OPT_RECORD_PREFIX;
extern const std::string OPT_HARDWARE_PREFIX;
extern const std::string KEY_DOCKING_DETECTED;
extern const std::string VAL_YES;
extern const std::string KEY_BATTERY_STATUS;
extern const std::string KEY_BATTERY_REMAINING;
extern const std::string KEY_LEVEL;
extern const std::string KEY_STATUS;
extern const std::string KEY_REMAINING;
extern const std::string BATTERY_NOT_DETECTED;
extern const std::string BATTERY_DISCHARGING;
extern const std::string BATTERY_CHARGING;
extern const std::string BATTERY_FULLY_CHARGED;
extern const std::string KEY_IP_CODEC_MODE;
extern const std::string KEY_ISDN_CODEC_MODE;
extern const std::string CMODE_NORMAL;
extern const std::string CMODE_DOUBLE;
extern const std::string VAL_ENABLED;
extern const std::string VAL_DISABLED;
extern const std::string KEY_AES67_RESET;
extern const std::string KEY_CLK_SOURCE;
extern const std::string CLK_AES67;
extern const std::string CLK_TCXO;
extern const std::string KEY_FAN;
extern const std::string KEY_AUTO_JBUFFER;
extern const std::string NET_AOIP;
extern const std::string LINK_AUDIO2;
extern const std::string LINK_DATA;
inline const std::string &LINK_WIFI = TGT_WIFI;
// The "type" of a codec event on IP.
inline const std::string &VAL_IP = TGT_IP;
extern const std::string KEY_RELAY1;
extern const std::string KEY_RELAY2;
extern const std::string KEY_CONFIG1;
extern const std::string KEY_CONFIG2;
extern const std::string KEY_RELAY;
extern const std::string KEY_AUTO_BITRATE;
extern const std::string KEY_BCHANNELNO;
extern const std::string KEY_SB;
extern const std::string KEY_STREAM_ID;
extern const std::string DSP_NEGOTIATING;
extern const std::string DSP_WAITING_FOR_SYNC;
extern const std::string DSP_SYNC;
extern const std::string DSP_SYNC_LOST;
extern const std::string KEY_NET_QUALITY;
extern const std::string KEY_DURATION;
extern const std::string KEY_PKTS_TOTAL;
extern const std::string KEY_PKTS_LOST;
extern const std::string KEY_PKTS_DISCARDED;
extern const std::string KEY_PKTS_DUPLICATED;
extern const std::string KEY_PKTS_REORDERD;
extern const std::string KEY_JTR_AVG;
extern const std::string KEY_JTR_MAX;
extern const std::string KEY_JB_CURR;
extern const std::string KEY_JB_MARK;

// Words of the upload indicator: the "upload_progress" INFO and the states of the "upload_state" EVENT
extern const std::string KEY_PERCENT;
extern const std::string UPLOAD_STARTED;
extern const std::string UPLOAD_FINISHED;
extern const std::string UPLOAD_STOPPED;
extern const std::string UPLOAD_ERROR;

// Words of the device commands: calls and links, codec lists, recorder, projects and files
inline const std::string &LINK_AUDIO = TGT_AUDIO;
inline const std::string &LINK_COORD_LINE = KEY_COORD_LINE;
inline const std::string &VAL_ISDN = TGT_ISDN;
extern const std::string VAL_SINGLE_CODEC;
extern const std::string KEY_RECORDER_STATE;
inline const std::string &RECORDER_PLAY = CMD_PLAY;
extern const std::string RECORDER_PLAY_PAUSED;
extern const std::string RECORDER_REC;
inline const std::string &RECORDER_STOPPED = UPLOAD_STOPPED;
extern const std::string KEY_POSITION;
extern const std::string VAL_PROCESSED;
extern const std::string TYPE_DAT;
extern const std::string TYPE_RECORD;
extern const std::string TYPE_TEST;
inline const std::string &TYPE_CREATE = CMD_CREATE;
extern const std::string EXT_WAV;
extern const std::string PLAYBACK_EDITOR;
// Spelled so on the wire.
extern const std::string LIST_PROJET_ELEMENT;
extern const std::string LIST_TIMEZONE_CITY;

// Words of the recorder settings in the application's parameter store, their values and the recorder's lists
extern const std::string KEY_MEDIA_DEST;
extern const std::string KEY_PROJECT;
extern const std::string KEY_FILENAME;
extern const std::string KEY_AUTORECORD;
extern const std::string KEY_MEDIA_SRC;
extern const std::string KEY_FORMAT;
extern const std::string KEY_IS_FTP;
extern const std::string KEY_IS_EDITOR_MODE;
extern const std::string KEY_EDITOR_NEXT_WAV;
extern const std::string VAL_NONE;
extern const std::string MEDIA_INTERNAL;
extern const std::string MEDIA_USB;
extern const std::string MEDIA_SDRAM;
extern const std::string SRC_STREAM1;
extern const std::string SRC_STREAM2;
extern const std::string SRC_VOICECALL;
inline const std::string &FMT_WAV = EXT_WAV;
extern const std::string FMT_MPG2;
extern const std::string LIST_RECORDS_PLIST;
extern const std::string LIST_RECORDS_LIST;
inline const std::string &LIST_PROJECT_LIST = CMD_PROJECT_LIST;

// Words of the screen window: its "ui" context, the level and call-event subscriptions, the remote numbers and
// relay states it keeps on the device, the sources of change sets, system notices and the level passwords
extern const std::string UI_TYPE_QUORVANE;
extern const std::string CMD_REQUEST;
extern const std::string KEY_PORT;
extern const std::string KEY_PERIOD;
extern const std::string EVT_COMM_EVENTS;
extern const std::string EVT_REMOTE_NUMBERS;
extern const std::string KEY_REMOTE_AOIP1;
extern const std::string KEY_REMOTE_AOIP2;
extern const std::string KEY_REMOTE_VOICE;
extern const std::string KEY_RELAY1_IN;
extern const std::string KEY_RELAY2_IN;
extern const std::string KEY_RELAY1_OUT;
extern const std::string KEY_RELAY2_OUT;
// "in1".."in24" and "ou1".."ou7" of "audio_levels".
extern const std::string KEY_LEVEL_IN_PREFIX;
extern const std::string KEY_LEVEL_OUT_PREFIX;
extern const std::string SRC_AIC;
extern const std::string SRC_CORE;
extern const std::string SRC_HCC;
// The AES67 module, under either of its two names.
extern const std::string SRC_AES67_MODULE;
extern const std::string SRC_AES67_MODULE2;
extern const std::string KEY_SYSTEM_STATUS;
inline const std::string &KEY_SYSTEM_UPDATE = CMD_SYSTEM_UPDATE;
extern const std::string KEY_MESSAGE;
extern const std::string KEY_PASSWORD_ADMINISTRATOR;
extern const std::string KEY_PASSWORD_EXPERT;
extern const std::string KEY_PASSWORD_OPERATOR;

// Words of the login and the soft keys: what the device says it is, the name it shows, the keys' parameters
extern const std::string KEY_DEVICE;
extern const std::string KEY_VERSION;
extern const std::string KEY_BUILDDATE;
extern const std::string DEVICE_QUORVANE;
extern const std::string KEY_TABNAME;
extern const std::string CONTROLLER_WEB;
// "softkey1".."softkey10".
extern const std::string KEY_SOFTKEY_PREFIX;

// Words of the call pages: the number histories of the codec lines and of the voice line, and the command that sets
// a running call's transmit bit rate ("AT#AVTXBITRATE=<bit/s>;" as the "info" of "send_user_info")
extern const std::string LIST_ADDR_HISTORY;
extern const std::string LIST_PHONE_ADDR_HISTORY;
extern const std::string INFO_AT_TX_BITRATE;

} // namespace kra

// Device error and cause texts: "<three-digit code>-<text>". Unknown codes and texts fall back to 200.
const std::string &causeTextFromCode(int code);
int causeCodeFromText(const std::string &text);
