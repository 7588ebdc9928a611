// The settings file that choosing the fake BLE device e0d9a3b2c1f0 (with its GATT service)
// and ticking translation saves over the defaults.
#pragma once

#include <string>

// The GATT service path of that device, as the protobuf text writes it (backslashes doubled).
inline const char kBleServicePath[] =
    "\\\\\\\\?\\\\bthledevice#{00010203-0405-0607-0809-0a0b0c0d1911}_dev_vid&02e4a9_pid&507c_rev&0001_e0d9a3b2c1f0"
    "#8&3d4e5f&0&0023#{00010203-0405-0607-0809-0a0b0c0d1911}";

inline std::string BleWithTranslationText() {
  const std::string service = kBleServicePath;
  return "ctl_config {\r\n"
         "  ctl_mode: CtlMode_BLE\r\n"
         "  device_descriptor {\r\n"
         "    name: \"e0d9a3b2c1f0\"\r\n"
         "    path: \"" + service + "\"\r\n"
         "  }\r\n"
         "}\r\n"
         "mic_config {\r\n"
         "  mic_mode: MicMode_BLE\r\n"
         "  device_descriptor {\r\n"
         "    name: \"e0d9a3b2c1f0\"\r\n"
         "    path: \"" + service + "\"\r\n"
         "  }\r\n"
         "}\r\n"
         "sr_config {\r\n"
         "  language_key: \"zh_cn\"\r\n"
         "  accent_key: \"mandarin\"\r\n"
         "  reco_engine_key: \"ISRProcessor\"\r\n"
         "  b_ptt: true\r\n"
         "  b_append_enter: false\r\n"
         "  threshold_of_VAD: 0\r\n"
         "}\r\n"
         "translate_config {\r\n"
         "  b_translate: true\r\n"
         "  src_key: \"cn\"\r\n"
         "  dst_key: \"en\"\r\n"
         "}\r\n";
}
