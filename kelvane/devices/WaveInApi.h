// The winmm waveIn functions the microphone calls, reached through one table.
#pragma once

#include <windows.h>
#include <mmsystem.h>

struct WaveInApi {
  UINT(WINAPI* getNumDevs)();
  MMRESULT(WINAPI* getDevCaps)(UINT_PTR id, LPWAVEINCAPSW caps, UINT size);
  MMRESULT(WINAPI* open)(LPHWAVEIN handle, UINT id, LPCWAVEFORMATEX format, DWORD_PTR callback,
                         DWORD_PTR instance, DWORD flags);
  MMRESULT(WINAPI* prepareHeader)(HWAVEIN handle, LPWAVEHDR header, UINT size);
  MMRESULT(WINAPI* unprepareHeader)(HWAVEIN handle, LPWAVEHDR header, UINT size);
  MMRESULT(WINAPI* addBuffer)(HWAVEIN handle, LPWAVEHDR header, UINT size);
  MMRESULT(WINAPI* start)(HWAVEIN handle);
  MMRESULT(WINAPI* stop)(HWAVEIN handle);
  MMRESULT(WINAPI* reset)(HWAVEIN handle);
  MMRESULT(WINAPI* close)(HWAVEIN handle);
};

// The table in use; its entries are winmm's own unless replaced.
WaveInApi& WaveIn();

// winmm's own entries.
const WaveInApi& SystemWaveIn();
