// The HID control device over a message-mode pipe standing in for the HID interface.
#include "HIDDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "HandleCount.h"
#include "FakeHid.h"
#include "HidApi.h"
#include "HidPipe.h"
#include "TestEvent.h"
#include "TraceCapture.h"

namespace {

std::vector<unsigned char> InputReport(unsigned char sequence) {
  std::vector<unsigned char> report(17, 0);
  report[0] = 0x01;
  report[1] = 0xB0;
  report[2] = sequence;
  return report;
}

class HIDDeviceTest : public ::testing::Test {
 protected:
  HIDDeviceTest() {
    descriptor.set_path(pipe.Path());
    device.SetDescriptor(&descriptor);
    device.SetOpenedCallback([this](CDevice*) {
      opened.Set();
      return 1;
    });
    device.SetClosedCallback([this](CDevice*) { ++closedCalls; });
    device.SetDataCallback([this](CDevice*, unsigned char* bytes, unsigned long size) {
      std::lock_guard<std::mutex> lock(mutex);
      reports.emplace_back(bytes, bytes + size);
      reportArrived.notify_all();
      return 1;
    });
  }
  void TearDown() override { device.Close(); }

  bool WaitForReports(size_t count) {
    std::unique_lock<std::mutex> lock(mutex);
    return reportArrived.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return reports.size() >= count; });
  }
  size_t ReportCount() {
    std::lock_guard<std::mutex> lock(mutex);
    return reports.size();
  }

  TraceCapture trace;
  FakeHid hid;
  HidPipe pipe;
  ORVANE::Config::DeviceDescriptor descriptor;
  TestEvent opened;
  std::atomic<int> closedCalls{0};
  std::mutex mutex;
  std::condition_variable reportArrived;
  std::vector<std::vector<unsigned char>> reports;
  CHIDDevice device;
};

TEST_F(HIDDeviceTest, InputReportsReachTheDataCallbackInOrder) {
  ASSERT_TRUE(pipe.IsValid());
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  EXPECT_TRUE(trace.Has(kTraceNormal, L"HID opened successfully."));
  EXPECT_EQ(hid.inputBuffers, 8u);

  std::vector<std::vector<unsigned char>> sent;
  for (unsigned char i = 0; i < 20; ++i) {
    sent.push_back(InputReport(i));
    ASSERT_TRUE(pipe.Send(sent.back()));
  }
  ASSERT_TRUE(WaitForReports(sent.size()));
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(reports, sent);
}

TEST_F(HIDDeviceTest, CloseDuringABlockedReadEndsTheThreadPromptly) {
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  ASSERT_TRUE(pipe.Send(InputReport(1)));
  ASSERT_TRUE(WaitForReports(1));  // the reader is now blocked in its next read

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(device.Close(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(closedCalls, 1);
  EXPECT_EQ(device.IsRuning(), 0);

  EXPECT_FALSE(pipe.Send(InputReport(2)));
  EXPECT_EQ(ReportCount(), 1u);
  EXPECT_EQ(closedCalls, 1);
}

TEST_F(HIDDeviceTest, ReopeningLeaksNoHandles) {
  auto cycle = [&] {
    HidPipe endpoint;
    descriptor.set_path(endpoint.Path());
    opened.Reset();
    ASSERT_EQ(device.Open(), 1);
    ASSERT_TRUE(opened.Wait());
    ASSERT_TRUE(endpoint.Send(InputReport(0)));
    device.Close();
  };
  cycle();  // first use creates what lives as long as the process
  const int before = OpenHandleCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 10; ++i) cycle();
  // Wine's own threads may hold a handle or two for a moment; a leak per reopen shows as 10.
  EXPECT_LT(OpenHandleCount() - before, 10);
  EXPECT_EQ(closedCalls, 11);
}

TEST_F(HIDDeviceTest, WritesFromTwoThreadsArriveWhole) {
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  constexpr int kWritesPerThread = 100;
  auto writer = [&](unsigned char pattern, std::atomic<int>* failures) {
    for (int i = 0; i < kWritesPerThread; ++i) {
      std::vector<unsigned char> report(128, pattern);
      report[0] = 0x02;
      report[1] = static_cast<unsigned char>(i);
      if (device.Write(report.data(), 128) != 128) ++*failures;
    }
  };
  std::atomic<int> failures{0};
  std::thread first(writer, 0xB1, &failures);
  std::thread second(writer, 0xB2, &failures);

  int next[2] = {0, 0};
  for (int i = 0; i < 2 * kWritesPerThread; ++i) {
    const std::vector<unsigned char> report = pipe.Receive();
    ASSERT_EQ(report.size(), 128u);
    const unsigned char pattern = report[2];
    ASSERT_TRUE(pattern == 0xB1 || pattern == 0xB2);
    EXPECT_EQ(std::vector<unsigned char>(report.begin() + 2, report.end()),
              std::vector<unsigned char>(126, pattern));
    EXPECT_EQ(report[1], next[pattern - 0xB1]++);
  }
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
}

TEST_F(HIDDeviceTest, OutputTheDeviceDoesNotTakeIsDroppedWithoutHoldingReadsOrClose) {
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  // The pipe never reads: its buffer fills, then each write waits its bound and is dropped.
  std::atomic<bool> writing{true};
  std::atomic<int> dropped{0};
  std::atomic<long long> longestWriteMs{0};
  std::thread writer([&] {
    const std::vector<unsigned char> report(128, 0x02);
    while (writing) {
      const auto start = std::chrono::steady_clock::now();
      if (device.Write(report.data(), 128) == 0) ++dropped;
      const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - start).count();
      if (ms > longestWriteMs) longestWriteMs = ms;
    }
  });
  for (int i = 0; i < 500 && dropped == 0; ++i) Sleep(10);
  ASSERT_GT(dropped, 0);

  ASSERT_TRUE(pipe.Send(InputReport(1)));  // read while writes keep waiting
  EXPECT_TRUE(WaitForReports(1));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(device.Close(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  writing = false;
  writer.join();
  EXPECT_LT(longestWriteMs, CHIDDevice::kWriteTimeoutMs + 500);
  EXPECT_TRUE(trace.Has(kTraceError, L"CHIDDevice Write not taken within 200 ms, report dropped."));
}

TEST_F(HIDDeviceTest, AWriteWhoseCancelNeverCompletesReturnsAndTheDeviceCountsAsGone) {
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  const std::vector<unsigned char> report(128, 0x02);
  // The pipe never reads: once its buffer is full a write waits, and its cancel is not done.
  while (device.Write(report.data(), 128) == 128) {
  }
  hid.cancelIgnored = true;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(device.Write(report.data(), 128), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start,
            std::chrono::milliseconds(CHIDDevice::kWriteTimeoutMs + CHIDDevice::kCancelTimeoutMs + 500));
  EXPECT_EQ(trace.Count(L"CHIDDevice Write cancel not completed within 200 ms, the device is gone."), 1);

  // Later writes fail at once; the system check finds the device gone once.
  const auto again = std::chrono::steady_clock::now();
  EXPECT_EQ(device.Write(report.data(), 128), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(50));
  EXPECT_EQ(device.Check(), 0);

  // Closed and opened again, as the system check does, it writes again.
  hid.cancelIgnored = false;
  EXPECT_EQ(device.Close(), 1);
  pipe.Plug();
  opened.Reset();
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  EXPECT_EQ(device.Write(report.data(), 128), 128);
  EXPECT_EQ(pipe.Receive(), report);
}

TEST_F(HIDDeviceTest, ACloseWhoseReadCancelNeverCompletesEndsInTimeAndTheDeviceCountsAsGone) {
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  ASSERT_TRUE(pipe.Send(InputReport(1)));
  ASSERT_TRUE(WaitForReports(1));
  Sleep(100);  // the reader is now waiting in its next read
  hid.cancelIgnored = true;

  TestEvent closed;
  std::thread closer([&] {
    device.Close();
    closed.Set();
  });
  const bool inTime = closed.Wait(CHIDDevice::kCancelTimeoutMs + 1000);
  if (!inTime) pipe.Send(InputReport(9));  // a close waiting for the read is let go
  closer.join();
  ASSERT_TRUE(inTime);
  EXPECT_EQ(trace.Count(L"CHIDDevice Read cancel not completed within 200 ms, the device is gone."), 1);
  EXPECT_EQ(closedCalls, 1);
  EXPECT_EQ(device.IsRuning(), 0);
  EXPECT_EQ(device.Check(), 0);

  // Opened again, as the system check does, it reads whole reports through a new transfer.
  hid.cancelIgnored = false;
  pipe.Plug();
  opened.Reset();
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  ASSERT_TRUE(pipe.Send(InputReport(2)));
  ASSERT_TRUE(WaitForReports(2));
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(reports.back(), InputReport(2));
}

TEST_F(HIDDeviceTest, ADevicePulledWhileOpenIsNoticedOnceAndReopensWhenBack) {
  HidPipe endpoint(2);  // the presence probe, then the device
  descriptor.set_path(endpoint.Path());
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  ASSERT_TRUE(endpoint.Send(InputReport(1)));
  ASSERT_TRUE(WaitForReports(1));

  endpoint.Unplug();
  for (int i = 0; i < 500 && closedCalls == 0; ++i) Sleep(10);
  EXPECT_EQ(closedCalls, 1);  // the reader ended by itself
  EXPECT_EQ(device.IsRuning(), 0);
  Sleep(200);  // a reader still retrying would log again meanwhile
  int goneLines = 0;
  for (const auto& line : trace.Lines()) {
    goneLines += line.second.rfind(L"CHIDDevice The device is gone, reading stops.", 0) == 0;
    EXPECT_EQ(line.second.find(L"CHIDDevice Post read event"), std::wstring::npos);
  }
  EXPECT_EQ(goneLines, 1) << trace.Text();
  EXPECT_EQ(device.Check(), 0);
  EXPECT_EQ(device.Check(), 0);

  // Back at its path: found present and, closed and opened as the system check does, read.
  endpoint.Plug();
  EXPECT_EQ(device.Check(), 1);
  device.Close();
  opened.Reset();
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  ASSERT_TRUE(endpoint.Send(InputReport(2)));
  ASSERT_TRUE(WaitForReports(2));
  EXPECT_EQ(device.Check(), 1);
}

TEST_F(HIDDeviceTest, ADeviceBackBeforeTheCheckStillReadsAbsentOnce) {
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  pipe.Unplug();
  for (int i = 0; i < 500 && closedCalls == 0; ++i) Sleep(10);
  ASSERT_EQ(closedCalls, 1);
  pipe.Plug();
  EXPECT_EQ(device.Check(), 0);  // so the system check sees a change and reopens it
  EXPECT_EQ(device.Check(), 1);
}

TEST_F(HIDDeviceTest, CheckFollowsTheHandle) {
  // Open: present without probing (the pipe's one instance is taken).
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(opened.Wait());
  EXPECT_EQ(device.Check(), 1);
  device.Close();

  // Closed: a probe finds a listening interface and lets it go again.
  HidPipe listening;
  descriptor.set_path(listening.Path());
  EXPECT_EQ(device.Check(), 1);
  EXPECT_TRUE(listening.ClientLeft());
  EXPECT_EQ(closedCalls, 1);

  // Gone: nothing at the path.
  descriptor.set_path("\\\\.\\pipe\\kelvane-hid-missing");
  EXPECT_EQ(device.Check(), 0);
}

TEST_F(HIDDeviceTest, OpenFailuresAreLoggedAndCloseTheInterface) {
  struct Case {
    const char* what;
    bool pathExists;
    BOOLEAN attributes;
    BOOLEAN inputBuffers;
    std::wstring line;
  };
  const Case cases[] = {
      {"missing path", false, TRUE, TRUE, L""},
      {"attributes refused", true, FALSE, TRUE, L"CHIDDevice call HidD_GetAttributes failed"},
      {"input buffers refused", true, TRUE, FALSE,
       L"CHIDDevice call HidD_SetNumInputBuffers failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HidPipe endpoint;
    const std::string path = c.pathExists ? endpoint.Path() : "\\\\.\\pipe\\kelvane-hid-missing";
    descriptor.set_path(path);
    hid.attributesResult = c.attributes;
    hid.inputBuffersResult = c.inputBuffers;
    const int closedBefore = closedCalls;
    opened.Reset();

    EXPECT_EQ(device.Open(), 1);  // the thread starts and reports the failed attempt
    ASSERT_TRUE(opened.Wait());
    device.Close();
    EXPECT_EQ(closedCalls, closedBefore + 1);
    const std::wstring line =
        c.line.empty() ? L"CHIDDevice Fail to open HID:" + std::wstring(path.begin(), path.end())
                       : c.line;
    EXPECT_TRUE(trace.Has(kTraceError, line));
    if (c.pathExists) {
      EXPECT_TRUE(endpoint.ClientLeft());
    }
  }
}

}  // namespace
