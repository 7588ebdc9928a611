// The two winmm calls that name the audio input devices, behind a table so that tests can
// offer devices the machine does not have.
#pragma once

#include <windows.h>
#include <mmsystem.h>

struct WaveInApi {
  UINT(WINAPI* GetNumDevs)();
  MMRESULT(WINAPI* GetDevCaps)(UINT_PTR device, LPWAVEINCAPSW caps, UINT caps_size);
};

// The table in use; its defaults are the real functions.
WaveInApi& WaveIn();
