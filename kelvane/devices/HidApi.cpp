#include "HidApi.h"

const HidApi& SystemHid() {
  static const HidApi system = {HidD_GetAttributes, HidD_SetNumInputBuffers, CancelIoEx};
  return system;
}

HidApi& Hid() {
  static HidApi current = SystemHid();
  return current;
}
