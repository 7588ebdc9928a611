#include "WaveInApi.h"

const WaveInApi& SystemWaveIn() {
  static const WaveInApi system = {
      waveInGetNumDevs,  waveInGetDevCapsW, waveInOpen,  waveInPrepareHeader,
      waveInUnprepareHeader, waveInAddBuffer, waveInStart, waveInStop,
      waveInReset,       waveInClose};
  return system;
}

WaveInApi& WaveIn() {
  static WaveInApi current = SystemWaveIn();
  return current;
}
