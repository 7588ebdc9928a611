// The control device on USB HID: a reading thread blocks in overlapped reads of its reports.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AsyncDevice.h"
#include "config.pb.h"

class CHIDDevice : public CAsyncDevice {
 public:
  // Long enough for any device that takes its reports; short enough not to stall the
  // microphone thread that writes the periodic report.
  static constexpr DWORD kWriteTimeoutMs = 200;
  // How long a cancelled read or write may take to complete. A driver that takes longer keeps
  // the transfer for good, and the device counts as gone.
  static constexpr DWORD kCancelTimeoutMs = 200;

  CHIDDevice();
  ~CHIDDevice() override;

  // The control device of the settings (not owned); its path is the HID interface opened.
  void SetDescriptor(const ORVANE::Config::DeviceDescriptor* descriptor) { descriptor_ = descriptor; }

 protected:
  int OpenDevice() override;
  // Cancels a pending read, waits until the reading thread has collected it (kCancelTimeoutMs
  // at most) and a write in progress has ended (kWriteTimeoutMs + kCancelTimeoutMs at most),
  // then closes.
  int CloseDevice() override;
  // 0 once after the device went away under the open handle or left a cancel undone, so the
  // system check closes and reopens it; otherwise whether the handle is open or the path can
  // be opened.
  int CheckDevice() override;
  // A failure that means the device is gone is logged once and ends the reading thread. The
  // report is read into the read transfer and copied out, so a read left to the driver never
  // writes into the caller's buffer.
  int ReadDevice(unsigned char* buffer, unsigned long length) override;
  // One write at a time (the writes share one transfer), never waiting on a read. A write the
  // device has not taken within kWriteTimeoutMs is cancelled and dropped. 0 at once while
  // the device counts as gone after a cancel that did not complete.
  int WriteDevice(const unsigned char* bytes, unsigned long length) override;

 private:
  std::wstring Path() const;
  HANDLE OpenPath() const;
  // Checks the opened interface and sets its input buffers; false (logged) when refused.
  bool PrepareHandle(HANDLE handle);
  HANDLE CurrentHandle();
  // The system owns a transfer's OVERLAPPED, event and bytes until the transfer completes.
  struct Transfer {
    Transfer();
    ~Transfer();
    OVERLAPPED overlapped{};
    std::vector<unsigned char> bytes;
  };

  // Starts a read on the open handle and returns that handle; INVALID_HANDLE_VALUE when the
  // device is closed (error ERROR_SUCCESS) or the system refused (error = its reason).
  HANDLE StartRead(unsigned long length, Transfer** transfer, DWORD& error);
  // Collects the completed read into the buffer; false when CloseDevice let it go.
  bool EndRead(HANDLE handle, Transfer* transfer, DWORD* transferred, DWORD* error,
               unsigned char* buffer);
  void StopReadingGoneDevice(DWORD error);
  // With handleLock_ held: a cancelled read that did not complete is left to the driver (never
  // freed), its reading thread woken to let it go, and the device counts as gone.
  void AbandonRead();

  // Waits for the started write, cancelling it after kWriteTimeoutMs; bytes written.
  int FinishWrite(HANDLE handle);
  // A cancel that does not complete leaves the transfer to the driver: it is let go (never
  // freed) and the device counts as gone, so the system check closes and reopens it.
  void AbandonWrite();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::unique_ptr<Transfer> read_;   // replaced when a read is abandoned
  std::unique_ptr<Transfer> write_;  // null from an abandoned write until the close
  int inputBufferCount_ = 8;
  const ORVANE::Config::DeviceDescriptor* descriptor_ = nullptr;

  // Held by a write from start to end; CloseDevice takes it, after giving up the handle, so
  // no write outlives the handle. A writer takes handleLock_ inside it, never the reverse.
  std::mutex writeLock_;
  // Guards the handle and the read state; held only briefly.
  std::mutex handleLock_;
  std::condition_variable readCollected_;
  bool readPending_ = false;  // a read was started and its completion not yet collected
  // The device is gone (a read or an undone cancel said so), not yet reported by Check.
  bool gone_ = false;
};
