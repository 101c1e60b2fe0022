// Every object identifier the utilities exchange with the adapter's miniport driver.
#pragma once
#include <cstdint>

namespace vx {

constexpr uint32_t kOidSetBit = 0x00800000;
constexpr uint32_t kIoctlNdisQueryGlobalStats = 0x00170002;

enum : uint32_t {
  OID_GEN_DRIVER_VERSION = 0x00010110,
  OID_GEN_MEDIA_CONNECT_STATUS = 0x00010114,
  OID_GEN_RCV_OK = 0x00020102,
  OID_GEN_RCV_NO_BUFFER = 0x00020105,
  OID_802_3_CURRENT_ADDRESS = 0x01010102,
  OID_802_11_BSSID = 0x0D010101,
  OID_802_11_SSID = 0x0D010102,
  OID_802_11_INFRASTRUCTURE_MODE = 0x0D010108,
  OID_802_11_DISASSOCIATE = 0x0D010115,
  OID_802_11_AUTHENTICATION_MODE = 0x0D010118,
  OID_802_11_BSSID_LIST_SCAN = 0x0D01011A,
  OID_802_11_WEP_STATUS = 0x0D01011B,
  OID_802_11_RELOAD_DEFAULTS = 0x0D01011C,
  OID_802_11_ADD_KEY = 0x0D01011D,
  OID_802_11_ADD_KEY_SET = 0x0D81011D,  // the set form, sent once for the WPA-None key
  OID_802_11_REMOVE_KEY = 0x0D01011E,
  OID_802_11_NETWORK_TYPES_SUPPORTED = 0x0D010203,
  OID_802_11_RSSI = 0x0D010206,
  OID_802_11_FRAGMENTATION_THRESHOLD = 0x0D010209,
  OID_802_11_RTS_THRESHOLD = 0x0D01020A,
  OID_802_11_DESIRED_RATES = 0x0D010210,
  OID_802_11_CONFIGURATION = 0x0D010211,
  OID_802_11_POWER_MODE = 0x0D010216,
  OID_802_11_BSSID_LIST = 0x0D010217,
  OID_802_11_STATISTICS = 0x0D020212,

  VX_OID_802_11_QUERY_PREAMBLE = 0x0D710101,
  VX_OID_802_11_SET_PREAMBLE = 0x0DF10101,
  VX_OID_802_11_QUERY_LINK_STATUS = 0x0D710102,
  VX_OID_802_11_SET_RESET_COUNTERS = 0x0DF10103,
  VX_OID_802_11_SET_POWER_SAVE_LEVEL = 0x0DF10104,
  VX_OID_802_11_QUERY_HARDWARE_REGISTER = 0x0D710105,
  VX_OID_802_11_SET_HARDWARE_REGISTER = 0x0DF10105,
  VX_OID_802_11_QUERY_COUNTRY_REGION = 0x0D710107,
  VX_OID_802_11_SET_COUNTRY_REGION = 0x0DF10107,
  VX_OID_802_11_QUERY_RADIO = 0x0D710108,
  VX_OID_802_11_SET_RADIO = 0x0DF10108,
  VX_OID_802_11_QUERY_BBP_TUNING = 0x0D710109,
  VX_OID_802_11_SET_BBP_TUNING = 0x0DF10109,
  VX_OID_802_11_QUERY_EVENT_TABLE = 0x0D71010A,
  VX_OID_802_11_QUERY_MAC_TABLE = 0x0D71010B,
  VX_OID_802_11_QUERY_PHY_MODE = 0x0D71010C,
  VX_OID_802_11_SET_PHY_MODE = 0x0DF1010C,
  VX_OID_802_11_QUERY_AP_CONFIG = 0x0D71010F,
  VX_OID_802_11_SET_AP_CONFIG = 0x0DF1010F,
  VX_OID_802_11_SET_ACL = 0x0DF10110,
  VX_OID_802_11_QUERY_STA_CONFIG = 0x0D710111,
  VX_OID_802_11_SET_STA_CONFIG = 0x0DF10111,
  VX_OID_802_11_SET_WDS = 0x0DF10112,
  VX_OID_802_11_QUERY_RADIUS_DATA = 0x0D710113,
  VX_OID_802_11_SET_RADIUS_DATA = 0x0DF10113,
  VX_OID_802_11_QUERY_REKEY_INFO = 0x0D710114,
  VX_OID_802_11_SET_REKEY_INFO = 0x0DF10114,
  VX_OID_802_11_SET_GENERATE_MIC_ERROR = 0x0DF10115,
  VX_OID_802_11_QUERY_TX_POWER = 0x0D710118,
  VX_OID_802_11_SET_TX_POWER = 0x0DF10118,
  VX_OID_802_11_QUERY_EEPROM_VERSION = 0x0D710119,
  VX_OID_802_11_QUERY_NOISE_LEVEL = 0x0D71011A,
  VX_OID_802_11_QUERY_TX_RATE = 0x0D71011B,
  VX_OID_802_11_SET_PROFILE_EXTENSION = 0x0DF1011C,
  VX_OID_802_11_QUERY_LINK_EVENT = 0x0D71011D,
  VX_OID_802_11_SET_CCX2_CONTROL = 0x0DF1011E,
  VX_OID_802_11_QUERY_AP_IP_ADDRESS = 0x0D71011F,
  VX_OID_802_11_SET_RF_TUNING = 0x0DF10120,
  VX_OID_802_11_SET_TUNING_ENABLE = 0x0DF10121,
  VX_OID_802_11_QUERY_SECOND_RSSI = 0x0D710125,
  VX_OID_802_11_QUERY_OP_MODE = 0x0D710126,
  VX_OID_802_11_SET_OP_MODE = 0x0DF10126,
  VX_OID_802_11_SET_RATE_SET = 0x0DF10127,
  VX_OID_802_11_QUERY_FIRMWARE_VERSION = 0x0D710129,
};

// Standard values carried by the 802.11 objects.
enum : uint32_t {
  kMediaConnected = 0,
  kMediaDisconnected = 1,
  kInfraAdhoc = 0,
  kInfraInfrastructure = 1,
  kInfraAuto = 2,
  kOpModeStation = 0,
  kOpModeAccessPoint = 1,
};

// NDIS_802_11_AUTHENTICATION_MODE
enum : uint32_t {
  kAuthOpen = 0,
  kAuthShared = 1,
  kAuthAutoSwitch = 2,
  kAuthWpa = 3,
  kAuthWpaPsk = 4,
  kAuthWpaNone = 5,
  kAuthWpa2 = 6,
  kAuthWpa2Psk = 7,
};

// NDIS_802_11_ENCRYPTION_STATUS
enum : uint32_t {
  kEncWepEnabled = 0,  // Encryption1Enabled
  kEncDisabled = 1,
  kEncWepKeyAbsent = 2,
  kEncNotSupported = 3,
  kEncTkipEnabled = 4,  // Encryption2Enabled
  kEncTkipKeyAbsent = 5,
  kEncAesEnabled = 6,  // Encryption3Enabled
  kEncAesKeyAbsent = 7,
};

// Record sizes the callers pass.
constexpr int kSsidRecordSize = 36;
constexpr int kConfigurationSize = 32;
constexpr int kStatisticsSize = 176;
constexpr int kBssidListSize = 65536;
constexpr int kKeyHeaderSize = 32;
constexpr int kRemoveKeySize = 16;
constexpr int kLinkStatusSize = 16;
constexpr int kRegisterAccessSize = 12;
constexpr int kEventTableSize = 168;
constexpr int kMacTableSize = 260;
constexpr int kConfigRecordSize = 32;  // ApConfig and StaConfig
constexpr int kAccessControlSize = 264;
constexpr int kWdsSize = 60;
constexpr int kRadiusSize = 72;
constexpr int kRekeySize = 8;
constexpr int kRateSetSize = 26;
constexpr int kProfileExtensionSize = 524;
constexpr int kRfTuningSize = 20;
constexpr int kDesiredRatesSize = 8;

}  // namespace vx
