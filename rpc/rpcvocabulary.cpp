#include "rpc/rpcvocabulary.h"

#include <array>

namespace kra {
// Defined in one unit, in this order, so that they exist before any code of the program runs.

// Message keys
const std::string KEY_ACTION("action");
const std::string KEY_CAUSE("cause");
const std::string KEY_CAUSE_INFO("cause_info");
const std::string KEY_RETURN("return");
const std::string KEY_ID("id");
const std::string KEY_TARGET("target");
const std::string KEY_NETWORK("network");
const std::string KEY_NETWORK_MODE("network_mode");
const std::string KEY_CAT("cat");
const std::string KEY_EVENT_TYPE("event_type");
const std::string KEY_INFO_TYPE("info_type");
const std::string KEY_INFO_SOURCE("info_source");
const std::string KEY_PROGRESS("progress");
const std::string KEY_TYPE("type");
const std::string KEY_STATE("state");
const std::string KEY_MODE("mode");
const std::string KEY_PASSWORD("password");
const std::string KEY_INFO("info");

// Parameter keys of calls, codecs, links, recorder positions, relays and inputs
const std::string KEY_CODEC("codec");
const std::string KEY_CODEC_RX("codec_rx");
const std::string KEY_CODEC_TX("codec_tx");
const std::string KEY_ALG("alg");
const std::string KEY_BITRATE("bitrate");
const std::string KEY_SAMPLERATE("samplerate");
const std::string KEY_ERRORC("errorc");
const std::string KEY_CODEC_MODE("codec_mode");
const std::string KEY_COORD_MODE("coord_mode");
const std::string KEY_DSTREAM_MODE("dstream_mode");
const std::string KEY_DCODEC_1("dcodec_1");
const std::string KEY_DCODEC_TX_1("dcodec_tx_1");
const std::string KEY_DCODEC_RX_1("dcodec_rx_1");
const std::string KEY_DCODEC_2("dcodec_2");
const std::string KEY_DCODEC_TX_2("dcodec_tx_2");
const std::string KEY_DCODEC_RX_2("dcodec_rx_2");
const std::string KEY_COMM_LINK("comm_link");
const std::string KEY_REMOTE_ADDR("remote_addr");
const std::string KEY_REMOTE_ADDR2("remote_addr2");
const std::string KEY_REMOTE_ADDR3("remote_addr3");
const std::string KEY_REMOTE_ADDR4("remote_addr4");
const std::string KEY_LOCAL_ADDR("local_addr");
const std::string KEY_LOCAL_ADDR2("local_addr2");
const std::string KEY_NAME("name");
const std::string KEY_CMD("cmd");
const std::string KEY_RELAY_IN("relay_in");
const std::string KEY_RELAY_OUT("relay_out");
const std::string KEY_COORD_LINE("coord_line");
const std::string KEY_STUN_NAT_TYPE("stun_nat_type");
const std::string KEY_PUBLIC_ADDR("public_addr");
const std::string KEY_PUBLIC_PORT("public_port");
const std::string KEY_PATH("path");
const std::string KEY_SECONDS_TOTAL("seconds_total");
const std::string KEY_SECONDS_PASSED("seconds_passed");
const std::string KEY_SECONDS_REMAINING("seconds_remaining");
const std::string KEY_MARK_BEGIN_SEC("mark_begin_sec");
const std::string KEY_MARK_END_SEC("mark_end_sec");
const std::string KEY_MARK_BEGIN_BYTE("mark_begin_byte");
const std::string KEY_MARK_END_BYTE("mark_end_byte");
const std::string KEY_MAX_BANDWIDTH("max_bandwidth");
const std::string KEY_EXT_INPUT1("ext_input1");
const std::string KEY_EXT_INPUT2("ext_input2");
const std::string KEY_EXT_INPUT3("ext_input3");
const std::string KEY_EXT_INPUT4("ext_input4");
const std::string KEY_EXT_INPUT5("ext_input5");
const std::string KEY_EXT_INPUT6("ext_input6");
const std::string KEY_EXT_RELAY1("ext_relay1");
const std::string KEY_EXT_RELAY2("ext_relay2");
const std::string KEY_EXT_RELAY3("ext_relay3");
const std::string KEY_EXT_RELAY4("ext_relay4");
const std::string KEY_EXT_RELAY5("ext_relay5");
const std::string KEY_EXT_RELAY6("ext_relay6");
const std::string KEY_EXT_RELAY7("ext_relay7");
const std::string KEY_EXT_RELAY8("ext_relay8");
const std::string KEY_DIGI_IN1("digi_in1");
const std::string KEY_DIGI_IN2("digi_in2");
const std::string KEY_DIGI_IN3("digi_in3");
const std::string KEY_DIGI_IN4("digi_in4");
const std::string KEY_DIGI_IN5("digi_in5");
const std::string KEY_DIGI_IN6("digi_in6");
const std::string KEY_DIGI_IN7("digi_in7");
const std::string KEY_DIGI_IN8("digi_in8");
const std::string KEY_LINK1("link1");
const std::string KEY_LINK2("link2");
const std::string KEY_KEYS("keys");

// Targets and categories
const std::string TGT_AUDIO("audio");
const std::string TGT_UI("ui");
const std::string TGT_GENERAL("general");
const std::string TGT_DB("db");
const std::string TGT_IP("ip");
const std::string TGT_ETH("eth");
const std::string TGT_MOBILE("mobile");
const std::string TGT_WIFI("wifi");
const std::string TGT_ISDN("isdn");
const std::string TGT_POTS("pots");
const std::string TGT_LL("ll");
const std::string TGT_HWTEST("hwtest");

// Device, recorder, file and project commands and their keys
const std::string CMD_CON("con");
const std::string CMD_CONACC("conacc");
const std::string CMD_SEND_USER_INFO("send_user_info");
const std::string CMD_DCON("dcon");
const std::string CMD_REBOOT("reboot");
const std::string CMD_SHUTDOWN("shutdown");
const std::string CMD_REINIT("reinit");
const std::string CMD_SUBSCRIBE("subscribe");
const std::string CMD_UNSUBSCRIBE("unsubscribe");
const std::string CMD_CREATE("create");
const std::string CMD_DELETE("delete");
const std::string CMD_UPDATE("update");
const std::string CMD_RENAME("rename");
const std::string CMD_OPEN("open");
const std::string CMD_LOAD("load");
const std::string CMD_CALL("call");
const std::string CMD_IMPORT("import");
const std::string CMD_EXPORT("export");
const std::string CMD_RESET("reset");
const std::string CMD_VALIDATE("validate");
const std::string CMD_CHANGE_RELAY_IN("change_relay_in");
const std::string CMD_CHANGE_RELAY_OUT("change_relay_out");
const std::string CMD_CHANGE_ALARM_OUT("change_alarm_out");
const std::string CMD_CHANGE_WATCHDOG_OUT("change_watchdog_out");
const std::string CMD_SYSTEM_UPDATE("system_update");
const std::string CMD_START("start");
const std::string CMD_STOP("stop");
const std::string CMD_PLAY("play");
const std::string CMD_FFORWARD("fforward");
const std::string CMD_REWIND("rewind");
const std::string CMD_SET_MARK("set_mark");
const std::string CMD_SEND("send");
const std::string CMD_STOP_UPLOAD("stop_upload");
const std::string CMD_DISPLAY("display");
const std::string CMD_CHANGE_USB("change_usb");
const std::string CMD_GET_FREESPACE_RECORD("get_freespace_record");
const std::string CMD_GET_FREESPACE_USB("get_freespace_usb");
const std::string CMD_GET_FREESPACE_SDCARD("get_freespace_sdcard");
const std::string CMD_GET_FREESPACE_P_RECORD("get_freespace_p_record");
const std::string CMD_GET_FREESPACE_P_USB("get_freespace_p_usb");
const std::string CMD_GET_FREESPACE_P_SDCARD("get_freespace_p_sdcard");
const std::string CMD_DELETE_RECORD_FILE("delete_record_file");
const std::string CMD_DELETE_RECORD_DIR("delete_record_dir");
const std::string CMD_EMPTY_RECORD_DIR("empty_record_dir");
const std::string CMD_GET_PLAYBACK_FULLPATH("get_playback_fullpath");
const std::string CMD_GET_RECORD_FULLPATH("get_record_fullpath");
const std::string CMD_GET_RECORD_FILENAME("get_record_filename");
const std::string CMD_GET_RECORD_INDEX("get_record_index");
const std::string CMD_GET_RECORD_FOLDER("get_record_folder");
const std::string CMD_RECORD_COPY_TO("record_copy_to");
const std::string CMD_RECORD_COPY_FROM("record_copy_from");
const std::string CMD_RECORD_FILE_COPY_TO("record_file_copy_to");
const std::string CMD_GET_PROJECT_SIZE("get_project_size");
const std::string CMD_GET_FILE_SIZE("get_file_size");
const std::string CMD_GET_PROJECT_PATH("get_project_path");
const std::string CMD_PROJECT_BUILD_WAV("project_build_wav");
const std::string CMD_PROJECT_DELETE_TRACK("project_delete_track");
const std::string CMD_FORMAT_USB("format_usb");
const std::string CMD_FORMAT_SDCARD("format_sdcard");
const std::string CMD_FORMAT_INTERNAL("format_internal");
const std::string CMD_REPAIR_USB("repair_usb");
const std::string CMD_REPAIR_SDCARD("repair_sdcard");
const std::string CMD_REPAIR_INTERNAL("repair_internal");
const std::string CMD_UNMOUNT_USB("unmount_usb");
const std::string CMD_UNMOUNT_SDCARD("unmount_sdcard");
const std::string CMD_RECORD_USER_FNAME("record_user_fname");
const std::string CMD_RECORD_INDEX("record_index");
const std::string CMD_RECORD_EXTENTION("record_extention");
const std::string CMD_RECORD_PROJECT("record_project");
const std::string CMD_RECORD_MOUNT_POINT("record_mount_point");
const std::string CMD_SAVE_PLAYLIST("save_playlist");
const std::string CMD_TIMEZONE_PARAM("timezone_param");
const std::string CMD_WAV_TO_DATA("wav_to_data");
const std::string CMD_PROJECT_GET_SOURCE("project_get_source");
const std::string CMD_PROJECT_SET_SOURCE("project_set_source");
const std::string CMD_PROJECT_ACTION_ADD("project_action_add");
const std::string CMD_PROJECT_ACTION_REMOVE("project_action_remove");
const std::string CMD_PROJECT_WAVMAP("project_wavmap");
const std::string CMD_PROJECT_CHANNEL("project_channel");
const std::string CMD_PROJECT_ELEMENT("project_element");
const std::string CMD_PROJECT_ELEMENT_TRACKS("project_element_tracks");
const std::string CMD_PROJECT_SEPARATORS("project_separators");
const std::string CMD_PROJECT_ELEMENT_MARKS("project_element_marks");
const std::string CMD_PROJECT_VALUE_START("project_value_start");
const std::string CMD_PROJECT_VALUE_END("project_value_end");
const std::string CMD_PROJECT_VALUE_HSTART("project_value_hstart");
const std::string CMD_PROJECT_VALUE_HEND("project_value_hend");
const std::string CMD_PLAYBACK_MODE("playback_mode");
const std::string CMD_CHANNEL("channel");
const std::string CMD_START_MARK("start_mark");
const std::string CMD_END_MARK("end_mark");
const std::string CMD_PROJECT_NEW("project_new");
const std::string CMD_PROJECT_LIST("project_list");

// Return words
const std::string RET_PROGRESS("PROGRESS");
const std::string RET_OK("OK");
const std::string RET_NOK("NOK");
const std::string RET_ERROR("ERROR");

// Event and info names and call-state texts
const std::string EVT_HARDWARE_FAILURE("0000-hardware failure");
const std::string EVT_HARDWARE_UNPLUGGED("0000-hardware unplugged");
const std::string EVT_CONFIG_INFO("config info");
const std::string EVT_AOIP_CONFIG("aoip_config");
const std::string EVT_STUN_INFO("stun_info");
const std::string EVT_CALL_INFO("9900-call info");
const std::string EVT_CODEC_INFORMATION("codec_information");
const std::string EVT_CALL_PROCEEDING("0100-call proceeding");
const std::string EVT_CALL_ALERTING("0200-call alerting");
const std::string EVT_CALL_RING("call ring");
const std::string EVT_CALL_RECEIVED("0600-call received");
const std::string EVT_CALL_ACTIVE("1000-call active");
const std::string EVT_USER_INFO("user_info");
const std::string EVT_TX_QUALITY_REPORT("tx-quality-report");
const std::string EVT_RX_QUALITY_REPORT("rx-quality-report");
const std::string EVT_CALL_DISCONNECTED("1200-call disconnected");
const std::string EVT_CALL_RELEASED("1900-call released");
const std::string EVT_CALL_LOST("1901-call lost");
const std::string EVT_CALL_ERROR("1902-call error");
const std::string EVT_CALL_AUTO_REDIAL("call auto redial");
const std::string EVT_DATA_CONNECTED("data connected");
const std::string EVT_DATA_DISCONNECTED("data disconnected");
const std::string EVT_DEFAULT_NETWORK("default_network");
const std::string EVT_SECONDARY_NETWORK("secondary_network");
const std::string EVT_DEFAULT_CODEC("default_codec");
const std::string EVT_CODEC_CHANGE("codec_change");
const std::string EVT_DSP_STATUS("dsp_status");
const std::string EVT_REC_STATUS("rec_status");
const std::string EVT_CHANNEL_REQUEST("channel_request");
const std::string EVT_BGAN_DETECTED("bgan_detected");
const std::string EVT_BGAN_STATE("bgan_state");
const std::string EVT_DIGI_IN("digi_in");
const std::string EVT_REMOTE_CMD("remote_cmd");
const std::string EVT_TEXT_MESSAGE("text_message");
const std::string EVT_RESTART_REQUIRED("restart_required");
const std::string EVT_REBOOTING("rebooting");
const std::string EVT_SHUTTINGDOWN("shuttingdown");
const std::string EVT_SHUTDOWN_REQUEST("shutdown_request");
const std::string EVT_UPLOAD_STATE("upload_state");
const std::string EVT_KNOWN_KEYS("known_keys");
const std::string EVT_ALARM("alarm");
const std::string EVT_CONTROL_LINK("control_link");
const std::string EVT_DATA_CON_REQUEST("data_con_request");
const std::string EVT_DATA_DCON_REQUEST("data_dcon_request");
const std::string EVT_USB_DEVICE_DETECT("usb_device_detect");
const std::string EVT_BATTERY_LEVEL("battery_level");
const std::string EVT_INPUT_STATE("input_state");
const std::string EVT_INPUT_LIMITER("input_limiter");
const std::string EVT_SIGNAL_QUALITY("signal_quality");
const std::string EVT_NETWORK_INFO("network_info");
const std::string EVT_POTS_SPEED("pots_speed");
const std::string EVT_TIME_STAMP("time_stamp");
const std::string EVT_UPLOAD_PROGRESS("upload_progress");
const std::string EVT_HEADPHONE_SOURCE("headphone_source");
const std::string EVT_AUDIO_CHANGESET("audio_changeset");
const std::string EVT_SIP_REGISTRATION("sip_registration");
const std::string EVT_SIP_REGISTRATION2("sip_registration2");
const std::string EVT_CONFIG_CHANGESET("config_changeset");
const std::string EVT_ALARM_PLL1("alarm_pll1");
const std::string EVT_ALARM_PLL2("alarm_pll2");
const std::string EVT_ALARM_CLK1("alarm_clk1");
const std::string EVT_ALARM_CLK2("alarm_clk2");
const std::string EVT_ALARM_SLIP_CLK1("alarm_slip_clk1");
const std::string EVT_ALARM_SLIP_CLK2("alarm_slip_clk2");
const std::string EVT_ALARM_DEC1("alarm_dec1");
const std::string EVT_ALARM_DEC2("alarm_dec2");
const std::string EVT_ALARM_FALLBACK_ENC1("alarm_fallback_enc1");
const std::string EVT_ALARM_FALLBACK_ENC2("alarm_fallback_enc2");
const std::string EVT_ALARM_FALLBACK_DEC1("alarm_fallback_dec1");
const std::string EVT_ALARM_FALLBACK_DEC2("alarm_fallback_dec2");
const std::string EVT_ALARM_OVL("alarm_ovl");
const std::string EVT_ALARM_TEMPERATURE("alarm_temperature");
const std::string EVT_ALARM_VOLTAGE("alarm_voltage");
const std::string EVT_ALARM_AES_UNLOCK("alarm_aes_unlock");
const std::string EVT_ALARM_AES_VALIDITY("alarm_aes_validity");
const std::string EVT_ALARM_AES_ERROR("alarm_aes_error");
const std::string EVT_ALARM_INTERNAL("alarm_internal");
const std::string EVT_ALARM_EXTERNAL("alarm_external");

// Codec algorithm names
const std::string CODEC_CELP("CELP");
const std::string CODEC_PCMA("PCMA");
const std::string CODEC_PCMU("PCMU");
const std::string CODEC_G711("G711");
const std::string CODEC_G722("G722");
const std::string CODEC_G722_SRT("G722-SRT");
const std::string CODEC_G722_H221("G722-H221");
const std::string CODEC_G722_H242("G722-H242");
const std::string CODEC_TDAC("TDAC");
const std::string CODEC_TDAC_G722("TDAC_G722");
const std::string CODEC_G722_TDAC("G722_TDAC");
const std::string CODEC_4SB("4SB");
const std::string CODEC_MPA2("MPA2");
const std::string CODEC_MPA2P("MPA2P");
const std::string CODEC_AAC_LBR("AAC-lbr");
const std::string CODEC_AAC_HE("AAC-he");
const std::string CODEC_AAC_HEV2("AAC-hev2");
const std::string CODEC_MPA3("MPA3");
const std::string CODEC_GSM("GSM");
const std::string CODEC_PHONE("Phone");
const std::string CODEC_OPUS("OPUS");
const std::string CODEC_L16("L16");
const std::string CODEC_L20("L20");
const std::string CODEC_L24("L24");
const std::string CODEC_AAC_LBR_LOAS("AAC-lbr-loas");
const std::string CODEC_AAC_HE_LOAS("AAC-he-loas");
const std::string CODEC_AAC_HEV2_LOAS("AAC-hev2-loas");
const std::string CODEC_AAC_LD("AAC-ld");
const std::string CODEC_AAC_ELD("AAC-eld");

// Channel modes
const std::string CHMODE_MONO("mono");
const std::string CHMODE_DMONO("dmono");
const std::string CHMODE_STEREO("stereo");
const std::string CHMODE_JSTEREO("jstereo");

// Sample and bit rates
const std::string RATE_8000("8000");
const std::string RATE_16000("16000");
const std::string RATE_24000("24000");
const std::string RATE_27200("27200");
const std::string RATE_32000("32000");
const std::string RATE_48000("48000");
const std::string RATE_56000("56000");
const std::string RATE_64000("64000");
const std::string RATE_96000("96000");
const std::string RATE_128000("128000");
const std::string RATE_192000("192000");
const std::string RATE_256000("256000");
const std::string RATE_320000("320000");
const std::string RATE_384000("384000");

// Error texts
const std::string ERR_LOCATION_UNAVAILABLE("001-location unavailable");
const std::string ERR_NETWORK_UNREACHABLE("002-network unreachable");
const std::string ERR_WRONG_FORMAT("003-wrong format");
const std::string ERR_INVALID_FILE("004-invalid file");
const std::string ERR_DESTINATION_UNREACHABLE("005-destination unreachable");
const std::string ERR_FILE_CORRUPTED("006-file corrupted");
const std::string ERR_WRONG_VERSION("007-wrong version");
const std::string ERR_WRONG_UNIT("008-wrong unit");
const std::string ERR_SDCARD_MISSING("009-sdcard missing");
const std::string ERR_SIM_MISSING("010-sim missing");
const std::string ERR_SIM_LOCKED("011-sim locked");
const std::string ERR_NO_GPS_FIX("012-no gps fix");
const std::string ERR_NOT_ATTACHED("013-not attached");
const std::string ERR_PPP_TIMEOUT("014-ppp timeout");
const std::string ERR_NOT_ALLOWED("015-not allowed");
const std::string ERR_NO_SIGNAL("016-no signal");
const std::string ERR_SIM_BUSY("017-sim busy");
const std::string ERR_PH_SIM_PIN("018-ph-sim pin");
const std::string ERR_PH_FSIM_PIN("019-ph-fsim pin");
const std::string ERR_PH_FSIM_PUK("020-ph-fsim puk");
const std::string ERR_PH_NET_PIN("021-ph-net pin");
const std::string ERR_PH_NET_PUK("022-ph-net puk");
const std::string ERR_PH_NETSUB_PIN("023-ph-netsub pin");
const std::string ERR_PH_NETSUB_PUK("024-ph-netsub puk");
const std::string ERR_PH_SP_PIN("025-ph-sp pin");
const std::string ERR_PH_SP_PUK("026-ph-sp puk");
const std::string ERR_PH_CORP_PIN("027-ph-corp pin");
const std::string ERR_PH_CORP_PUK("028-ph-corp puk");
const std::string ERR_WRONG_PASSWORD("100-wrong password");
const std::string ERR_PARAMETER_NOT_SET("101-parameter not set");
const std::string ERR_UNKNOWN_PARAMETER("102-unknown parameter");
const std::string ERR_PARAMETER_SET_ERROR("103-parameter set error");
const std::string ERR_MANDATORY_PARAMETER_MISSING("104-mandatory parameter missing");
const std::string ERR_INVALID_VALUE("105-invalid value");
const std::string ERR_INVALID_ID("106-invalid id");
const std::string ERR_NO_SPACE_LEFT("107-no space left");
const std::string ERR_INVALID_CONFIG("108-invalid config");
const std::string ERR_NOT_SUPPORTED("109-not supported");
const std::string ERR_NOT_AVAILABLE("110-not available");
const std::string ERR_FILENAME_ALREADY_EXISTS("111-filename already exists");
const std::string ERR_FILE_NOT_FOUND("112-file not found");
const std::string ERR_UNKNOWN_DESTINATION("113-unknown destination");
const std::string ERR_UNIMPLEMENTED("114-unimplemented");
const std::string ERR_RESOURCE_BUSY("115-resource busy");
const std::string ERR_INVALID_STATE("116-invalid state");
const std::string ERR_TIMEOUT("117-timeout");
const std::string ERR_RESOURCE_UNAVAILABLE("118-resource unavailable");
const std::string ERR_REMOTE_ADDRESS_MISSING("119-remote address missing");
const std::string ERR_NO_CONNECTION("120-no connection");
const std::string ERR_NO_INCOMING_CALL_PENDING("121-no incoming call pending");
const std::string ERR_PIN_REQUIRED("122-pin required");
const std::string ERR_NOT_REGISTERED("123-not registered");
const std::string ERR_PUK_REQUIRED("124-puk required");
const std::string ERR_PIN2_REQUIRED("125-pin2 required");
const std::string ERR_PUK2_REQUIRED("126-puk2 required");
const std::string ERR_CONNECTION_ACTIVE("127-connection active");
const std::string ERR_LOOP_CONTROL_ACTIVE("128-loop control active");
const std::string ERR_MOBILE_DATA_SERVICE_OFF("129-mobile data service off");
const std::string ERR_MOBILE_DATA_SERVICE_FAILURE("130-mobile data service failure");
const std::string ERR_MOBILE_DATA_SERVICE_PROCESSING("131-mobile data service processing");
const std::string ERR_USB_HOST_CONNECTED("132-usb host connected");
const std::string ERR_NOT_AVAILABLE_ON_4G("133-not available on 4G");
const std::string ERR_NO_CABLE("134-no cable");
const std::string ERR_WIFI_OFF("135-wifi off");
const std::string ERR_WIFI_FAILURE("136-wifi failure");
const std::string ERR_WIFI_CONNECTING("137-wifi connecting...");
const std::string ERR_ACCOUNT_NOT_ACCEPTED("138-account not accepted");
const std::string ERR_INCOMPATIBLE_WITH_SIP1("139-incompatible with sip1");
const std::string ERR_INCONSISTANT_WITH_SIP2("140-inconsistant with sip2");
const std::string ERR_SIP1_NOT_CONFIGURED("141-sip1_not configured");
const std::string ERR_UNKNOWN_ERROR("200-unknown error");
const std::string ERR_HARDWARE_ERROR("201-hardware error");
const std::string ERR_FILE_SYSTEM_ERROR("202-file system error");
const std::string ERR_OS_ERROR("203-OS error");
const std::string ERR_UNKNOWN_COMMAND("204-unknown command");

// Recorder, playback and clock actions
const std::string ACT_RECORD_START("record_start");
const std::string ACT_RECORD_STOP("record_stop");
const std::string ACT_RECORD_PAUSE("record_pause");
const std::string ACT_RECORD_UPAUSE("record_upause");
const std::string ACT_RECORD_FORMAT("record_format");
const std::string ACT_GENERIC_URI("generic_uri");
const std::string ACT_RECORD_SOURCE("record_source");
const std::string ACT_PLAYBACK_START("playback_start");
const std::string ACT_PLAYBACK_STOP("playback_stop");
const std::string ACT_PLAYBACK_PAUSE("playback_pause");
const std::string ACT_PLAYBACK_UNPAUSE("playback_unpause");
const std::string ACT_PLAYBACK_FORWARD("playback_forward");
const std::string ACT_PLAYBACK_BACKWARD("playback_backward");
const std::string ACT_SET_TIMEZONE("set_timezone");

// Words of the reply handling
const std::string EMPTY_WORD("");
const std::string KEY_RETURN_FMT("returnFmt");
const std::string FMT_EXT("EXT");

// Words of the body syntax
const std::string WORD_PARAM("PARAM");
const std::string WORD_DO("DO");
const std::string WORD_INFO("INFO");
const std::string WORD_EVENT("EVENT");
const std::string WORD_GET("GET");
const std::string WORD_LIST("LIST");

// Words of the communication service
const std::string KEY_CONTROLLER_ID("controller_id");
const std::string EVT_AUDIO_LEVELS("audio_levels");

// How boolean parameters travel
const std::string VAL_ON("on");
const std::string VAL_OFF("off");

// Words of the device model: its option list, battery, codec set-up, clock, relays and call records
const std::string KEY_DEVICE_OPTS("device_opts");
const std::string OPT_IP_DCODEC("ip_dcodec");
const std::string OPT_ISDN_DCODEC("isdn_dcodec");
const std::string OPT_MOBILE_PREFIX("mobile_");
const std::string OPT_RAVENNA("ravenna");
const std::string OPT_RAVENNA_PREFIX("ravenna_");
const std::string OPT_REMOTE_ACCESS_PREFIX("remote_access_");
const std::string OPT_IP_DSTREAM_PREFIX("ip_dstream_");
const std::string OPT_RECORD_PREFIX("record_");
const std::string OPT_HARDWARE_PREFIX("hardware_");
const std::string KEY_DOCKING_DETECTED("docking_detected");
const std::string VAL_YES("yes");
const std::string KEY_BATTERY_STATUS("battery_status");
const std::string KEY_BATTERY_REMAINING("battery_remaining");
const std::string KEY_LEVEL("level");
const std::string KEY_STATUS("status");
const std::string KEY_REMAINING("remaining");
const std::string BATTERY_NOT_DETECTED("not_detected");
const std::string BATTERY_DISCHARGING("discharging");
const std::string BATTERY_CHARGING("charging");
const std::string BATTERY_FULLY_CHARGED("fully_charged");
const std::string KEY_IP_CODEC_MODE("ip-codec_mode");
const std::string KEY_ISDN_CODEC_MODE("isdn-codec_mode");
const std::string CMODE_NORMAL("cmode_normal");
const std::string CMODE_DOUBLE("cmode_double");
const std::string VAL_ENABLED("enabled");
const std::string VAL_DISABLED("disabled");
const std::string KEY_AES67_RESET("aes67_reset");
const std::string KEY_CLK_SOURCE("clk_source");
const std::string CLK_AES67("aes67");
const std::string CLK_TCXO("tcxo");
const std::string KEY_FAN("fan");
const std::string KEY_AUTO_JBUFFER("auto_jbuffer");
const std::string NET_AOIP("aoip");
const std::string LINK_AUDIO2("audio2");
const std::string LINK_DATA("data");
const std::string KEY_RELAY1("relay1");
const std::string KEY_RELAY2("relay2");
const std::string KEY_CONFIG1("config1");
const std::string KEY_CONFIG2("config2");
const std::string KEY_RELAY("relay");
const std::string KEY_AUTO_BITRATE("auto_bitrate");
const std::string KEY_BCHANNELNO("bchannelno");
const std::string KEY_SB("sb");
const std::string KEY_STREAM_ID("stream_id");
const std::string DSP_NEGOTIATING("negotiating");
const std::string DSP_WAITING_FOR_SYNC("waiting for sync");
const std::string DSP_SYNC("sync");
const std::string DSP_SYNC_LOST("sync lost");
const std::string KEY_NET_QUALITY("net-quality");
const std::string KEY_DURATION("duration");
const std::string KEY_PKTS_TOTAL("pkts-total");
const std::string KEY_PKTS_LOST("pkts-lost");
const std::string KEY_PKTS_DISCARDED("pkts-discarded");
const std::string KEY_PKTS_DUPLICATED("pkts-duplicated");
const std::string KEY_PKTS_REORDERD("pkts-reorderd");
const std::string KEY_JTR_AVG("jtr-avg");
const std::string KEY_JTR_MAX("jtr-max");
const std::string KEY_JB_CURR("jb-curr");
const std::string KEY_JB_MARK("jb-mark");

const std::string KEY_PERCENT("percent");
const std::string UPLOAD_STARTED("started");
const std::string UPLOAD_FINISHED("finished");
const std::string UPLOAD_STOPPED("stopped");
const std::string UPLOAD_ERROR("error");
// Words of the device commands
const std::string VAL_SINGLE_CODEC("single_codec");
const std::string KEY_RECORDER_STATE("recorder_state");
const std::string RECORDER_PLAY_PAUSED("play_paused");
const std::string RECORDER_REC("rec");
const std::string KEY_POSITION("position");
const std::string VAL_PROCESSED("processed");
const std::string TYPE_DAT("dat");
const std::string TYPE_RECORD("record");
const std::string TYPE_TEST("test");
const std::string EXT_WAV("wav");
const std::string PLAYBACK_EDITOR("editor");
const std::string LIST_PROJET_ELEMENT("projet_element_list");
const std::string LIST_TIMEZONE_CITY("timezone_city_list");

// Words of the recorder settings
const std::string KEY_MEDIA_DEST("media_dest");
const std::string KEY_PROJECT("project");
const std::string KEY_FILENAME("filename");
const std::string KEY_AUTORECORD("autorecord");
const std::string KEY_MEDIA_SRC("media_src");
const std::string KEY_FORMAT("format");
const std::string KEY_IS_FTP("is_ftp");
const std::string KEY_IS_EDITOR_MODE("is_editor_mode");
const std::string KEY_EDITOR_NEXT_WAV("editor_next_wav");
const std::string VAL_NONE("none");
const std::string MEDIA_INTERNAL("internal");
const std::string MEDIA_USB("usb");
const std::string MEDIA_SDRAM("sdram");
const std::string SRC_STREAM1("stream1");
const std::string SRC_STREAM2("stream2");
const std::string SRC_VOICECALL("voicecall");
const std::string FMT_MPG2("mpg2");
const std::string LIST_RECORDS_PLIST("records_plist");
const std::string LIST_RECORDS_LIST("records_list");

// Words of the screen window
const std::string UI_TYPE_QUORVANE("quorvane_ui");
const std::string CMD_REQUEST("request");
const std::string KEY_PORT("port");
const std::string KEY_PERIOD("period");
const std::string EVT_COMM_EVENTS("comm_events");
const std::string EVT_REMOTE_NUMBERS("remote_numbers");
const std::string KEY_REMOTE_AOIP1("remote_aoip1");
const std::string KEY_REMOTE_AOIP2("remote_aoip2");
const std::string KEY_REMOTE_VOICE("remote_voice");
const std::string KEY_RELAY1_IN("relay1_in");
const std::string KEY_RELAY2_IN("relay2_in");
const std::string KEY_RELAY1_OUT("relay1_out");
const std::string KEY_RELAY2_OUT("relay2_out");
const std::string KEY_LEVEL_IN_PREFIX("in");
const std::string KEY_LEVEL_OUT_PREFIX("ou");
const std::string SRC_AIC("aic");
const std::string SRC_CORE("core");
const std::string SRC_HCC("hcc");
const std::string SRC_AES67_MODULE("zman.0");
const std::string SRC_AES67_MODULE2("bklyn.0");
const std::string KEY_SYSTEM_STATUS("system_status");
const std::string KEY_MESSAGE("message");
const std::string KEY_PASSWORD_ADMINISTRATOR("password_al");
const std::string KEY_PASSWORD_EXPERT("password_el");
const std::string KEY_PASSWORD_OPERATOR("password_ol");

// Words of the login and the soft keys
const std::string KEY_DEVICE("device");
const std::string KEY_VERSION("version");
const std::string KEY_BUILDDATE("builddate");
const std::string DEVICE_QUORVANE("quorvane");
const std::string KEY_TABNAME("tabname");
const std::string CONTROLLER_WEB("web");
const std::string KEY_SOFTKEY_PREFIX("softkey");

const std::string LIST_ADDR_HISTORY("addr-history");
const std::string LIST_PHONE_ADDR_HISTORY("phone-addr-history");
const std::string INFO_AT_TX_BITRATE("AT#AVTXBITRATE=");

} // namespace kra

namespace {

constexpr int causeTableSize = 204;

const std::array<const std::string *, causeTableSize> &causeTable()
{
    static const std::array<const std::string *, causeTableSize> table = [] {
        using namespace kra;
        std::array<const std::string *, causeTableSize> t;
        t.fill(&ERR_UNKNOWN_ERROR);
        const std::string *const texts[] = {&ERR_LOCATION_UNAVAILABLE, &ERR_NETWORK_UNREACHABLE, &ERR_WRONG_FORMAT,
            &ERR_INVALID_FILE, &ERR_DESTINATION_UNREACHABLE, &ERR_FILE_CORRUPTED, &ERR_WRONG_VERSION, &ERR_WRONG_UNIT,
            &ERR_SDCARD_MISSING, &ERR_SIM_MISSING, &ERR_SIM_LOCKED, &ERR_NO_GPS_FIX, &ERR_NOT_ATTACHED,
            &ERR_PPP_TIMEOUT, &ERR_NOT_ALLOWED, &ERR_NO_SIGNAL, &ERR_SIM_BUSY, &ERR_PH_SIM_PIN, &ERR_PH_FSIM_PIN,
            &ERR_PH_FSIM_PUK, &ERR_PH_NET_PIN, &ERR_PH_NET_PUK, &ERR_PH_NETSUB_PIN, &ERR_PH_NETSUB_PUK, &ERR_PH_SP_PIN,
            &ERR_PH_SP_PUK, &ERR_PH_CORP_PIN, &ERR_PH_CORP_PUK, &ERR_WRONG_PASSWORD, &ERR_PARAMETER_NOT_SET,
            &ERR_UNKNOWN_PARAMETER, &ERR_PARAMETER_SET_ERROR, &ERR_MANDATORY_PARAMETER_MISSING, &ERR_INVALID_VALUE,
            &ERR_INVALID_ID, &ERR_NO_SPACE_LEFT, &ERR_INVALID_CONFIG, &ERR_NOT_SUPPORTED, &ERR_NOT_AVAILABLE,
            &ERR_FILENAME_ALREADY_EXISTS, &ERR_FILE_NOT_FOUND, &ERR_UNKNOWN_DESTINATION, &ERR_UNIMPLEMENTED,
            &ERR_RESOURCE_BUSY, &ERR_INVALID_STATE, &ERR_TIMEOUT, &ERR_RESOURCE_UNAVAILABLE,
            &ERR_REMOTE_ADDRESS_MISSING, &ERR_NO_CONNECTION, &ERR_NO_INCOMING_CALL_PENDING, &ERR_PIN_REQUIRED,
            &ERR_NOT_REGISTERED, &ERR_PUK_REQUIRED, &ERR_PIN2_REQUIRED, &ERR_PUK2_REQUIRED, &ERR_CONNECTION_ACTIVE,
            &ERR_LOOP_CONTROL_ACTIVE, &ERR_MOBILE_DATA_SERVICE_OFF, &ERR_MOBILE_DATA_SERVICE_FAILURE,
            &ERR_MOBILE_DATA_SERVICE_PROCESSING, &ERR_USB_HOST_CONNECTED, &ERR_NOT_AVAILABLE_ON_4G, &ERR_NO_CABLE,
            &ERR_WIFI_OFF, &ERR_WIFI_FAILURE, &ERR_WIFI_CONNECTING, &ERR_ACCOUNT_NOT_ACCEPTED,
            &ERR_INCOMPATIBLE_WITH_SIP1, &ERR_INCONSISTANT_WITH_SIP2, &ERR_SIP1_NOT_CONFIGURED, &ERR_UNKNOWN_ERROR,
            &ERR_HARDWARE_ERROR, &ERR_FILE_SYSTEM_ERROR, &ERR_OS_ERROR, &ERR_UNKNOWN_COMMAND};
        static_assert(sizeof(texts) / sizeof(texts[0]) == 75, "every error text has its slot");
        // Each text carries its own code in its first three characters.
        for (const std::string *text : texts) {
            const int code = ((*text)[0] - '0') * 100 + ((*text)[1] - '0') * 10 + ((*text)[2] - '0');
            t[code - 1] = text;
        }
        return t;
    }();
    return table;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

const std::string &causeTextFromCode(int code)
{
    if (code < 1 || code > causeTableSize)
        return kra::ERR_UNKNOWN_ERROR;
    return *causeTable()[code - 1];
}

int causeCodeFromText(const std::string &text)
{
    // Every error text is "ddd-...": read the code, then check the text is exactly the one of that code.
    if (text.size() < 5 || !isDigit(text[0]) || !isDigit(text[1]) || !isDigit(text[2]) || text[3] != '-')
        return 200;
    const int code = (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
    if (code < 1 || code > causeTableSize)
        return 200;
    const std::string &known = *causeTable()[code - 1];
    return known == text ? code : 200;
}
