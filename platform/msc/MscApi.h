// The speech SDK's entry points (msc_x64.dll, imported by ordinal) and the values they use.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#define MSCAPI __stdcall

// Logs in with "key = value, ..." parameters (appid, work_dir). 0 = success.
int MSCAPI MSPLogin(const char* user, const char* password, const char* params);
// Logs out; an open session is dropped. 0 = success.
int MSCAPI MSPLogout(void);
// Opens the one recognition session; null with *errorCode set on failure. The returned
// identifier stays readable for the life of the process.
const char* MSCAPI QISRSessionBegin(const char* grammarList, const char* params, int* errorCode);
// Ends the session; hints is a free text recorded by the SDK.
int MSCAPI QISRSessionEnd(const char* sessionId, const char* hints);
// Writes one block of 16 kHz 16-bit mono audio and reports the endpoint and recognition status.
int MSCAPI QISRAudioWrite(const char* sessionId, const void* waveData, unsigned int waveLength,
                          int audioStatus, int* endpointStatus, int* recognitionStatus);
// The next result text (UTF-8 JSON), valid until the next call; null when none is ready.
const char* MSCAPI QISRGetResult(const char* sessionId, int* recognitionStatus, int waitTime,
                                 int* errorCode);

#ifdef __cplusplus
}
#endif

// Audio status of a block.
enum MscAudioStatus { MSC_AUDIO_FIRST = 1, MSC_AUDIO_CONTINUE = 2, MSC_AUDIO_LAST = 4 };

// Endpoint status: the SDK heard the end of speech.
enum MscEndpointStatus { MSC_ENDPOINT_NONE = 0, MSC_ENDPOINT_SPEECH_ENDED = 3 };

// Recognition status.
enum MscRecognitionStatus {
  MSC_RESULT_READY = 0,       // a result waits to be fetched
  MSC_RESULT_PENDING = 2,     // nothing to fetch yet
  MSC_RESULT_COMPLETE = 5,    // the session's result is complete
};

// Error codes.
enum MscError {
  MSC_OK = 0,
  MSC_ERROR_INVALID_PARAM = 30001,
  MSC_ERROR_NOT_LOGGED_IN = 30002,
  MSC_ERROR_ALREADY_LOGGED_IN = 30003,
  MSC_ERROR_INVALID_SESSION = 30004,
  MSC_ERROR_SESSION_BUSY = 30005,    // a session is already open
  MSC_ERROR_AUDIO_STATUS = 30006,    // audio status out of order
  MSC_ERROR_SCRIPT = 30007,          // the script file does not parse
};

// Environment variables read by the SDK at login: the script file (else "msc_script.json"
// in the login's work_dir is used when present) and a journal file that gets one line per call.
#define MSC_SCRIPT_VARIABLE L"ORVANE_MSC_SCRIPT"
#define MSC_SCRIPT_FILE_NAME "msc_script.json"
#define MSC_JOURNAL_VARIABLE L"ORVANE_MSC_JOURNAL"

// Without a script every session echoes: its final result holds one word with this text,
// the count and CRC-32 of all audio bytes written.
#define MSC_ECHO_DIGEST_FORMAT "bytes=%lu crc32=%08lx"
