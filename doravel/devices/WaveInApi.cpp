#include "WaveInApi.h"

WaveInApi& WaveIn() {
  static WaveInApi api{&waveInGetNumDevs, &waveInGetDevCapsW};
  return api;
}
