#include "SetupApi.h"

const SetupApi& SystemSetup() {
  static const SetupApi system = {SetupDiGetClassDevsW, SetupDiEnumDeviceInterfaces,
                                  SetupDiGetDeviceInterfaceDetailW, SetupDiGetDevicePropertyW,
                                  SetupDiDestroyDeviceInfoList};
  return system;
}

SetupApi& Setup() {
  static SetupApi current = SystemSetup();
  return current;
}
