// The reading thread of CAsyncDevice, driven by a device whose reads are scripted.
#include "AsyncDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "TestEvent.h"

namespace {

// Reads hand out the scripted results in order (an empty one reads zero bytes), then
// block until CloseDevice.
class ScriptedDevice : public CAsyncDevice {
 public:
  explicit ScriptedDevice(std::deque<std::vector<unsigned char>> reads = {}, int openResult = 1)
      : CAsyncDevice(3), reads_(std::move(reads)), openResult_(openResult) {}
  ~ScriptedDevice() override { Close(); }

  // Further reads return these bytes as fast as the thread asks.
  void ReadEndlessly(std::vector<unsigned char> bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    endless_ = std::move(bytes);
  }

  std::atomic<int> openCalls{0};
  std::atomic<int> closeCalls{0};
  TestEvent closed;

 protected:
  int OpenDevice() override {
    ++openCalls;
    closed.Reset();
    return openResult_;
  }
  int CloseDevice() override {
    ++closeCalls;
    closed.Set();
    return 1;
  }
  int CheckDevice() override { return 1; }
  int WriteDevice(const unsigned char*, unsigned long length) override { return int(length); }
  int ReadDevice(unsigned char* buffer, unsigned long length) override {
    std::vector<unsigned char> next;
    if (!NextRead(&next)) {
      closed.Wait(INFINITE);
      return 0;
    }
    std::copy(next.begin(), next.end(), buffer);
    return static_cast<int>(next.size());
  }

 private:
  // False when nothing is scripted any more.
  bool NextRead(std::vector<unsigned char>* next) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!reads_.empty()) {
      *next = std::move(reads_.front());
      reads_.pop_front();
      return true;
    }
    *next = endless_;
    return !next->empty();
  }

  std::mutex mutex_;
  std::deque<std::vector<unsigned char>> reads_;
  std::vector<unsigned char> endless_;
  int openResult_;
};

struct CallbackLog {
  explicit CallbackLog(CDevice& device) {
    device.SetOpenedCallback([this](CDevice*) {
      ++opened;
      openedEvent.Set();
      return 1;
    });
    device.SetClosedCallback([this](CDevice*) {
      ++closed;
      closedEvent.Set();
    });
    device.SetDataCallback([this](CDevice*, unsigned char* bytes, unsigned long size) {
      std::lock_guard<std::mutex> lock(mutex);
      data.emplace_back(bytes, bytes + size);
      dataEvent.Set();
      return 1;
    });
  }
  std::vector<std::vector<unsigned char>> Data() {
    std::lock_guard<std::mutex> lock(mutex);
    return data;
  }

  std::atomic<int> opened{0};
  std::atomic<int> closed{0};
  TestEvent openedEvent, closedEvent, dataEvent;
  std::mutex mutex;
  std::vector<std::vector<unsigned char>> data;
};

TEST(AsyncDevice, OpenOnARunningDeviceStartsNoSecondThread) {
  ScriptedDevice device;
  CallbackLog log(device);
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(log.openedEvent.Wait());
  EXPECT_EQ(device.Open(), 1);
  EXPECT_EQ(device.Close(), 1);
  EXPECT_EQ(device.openCalls, 1);
  EXPECT_EQ(log.opened, 1);
  EXPECT_EQ(log.closed, 1);
}

TEST(AsyncDevice, ZeroByteReadCallsNoCallback) {
  ScriptedDevice device({{}, {1, 2, 3}});
  CallbackLog log(device);
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(log.dataEvent.Wait());
  device.Close();
  EXPECT_EQ(log.Data(), (std::vector<std::vector<unsigned char>>{{1, 2, 3}}));
}

TEST(AsyncDevice, CloseOfANeverStartedDeviceReturnsOne) {
  ScriptedDevice device;
  CallbackLog log(device);
  EXPECT_EQ(device.Close(), 1);
  EXPECT_EQ(log.opened, 0);
  EXPECT_EQ(log.closed, 0);
}

TEST(AsyncDevice, FailedOpenStillReportsOpenedThenClosed) {
  ScriptedDevice device({}, /*openResult=*/0);
  CallbackLog log(device);
  device.Open();
  ASSERT_TRUE(log.closedEvent.Wait());
  EXPECT_EQ(log.opened, 1);
  EXPECT_EQ(log.closed, 1);
  EXPECT_TRUE(log.Data().empty());
}

TEST(AsyncDevice, NoDataAfterCloseHasReturned) {
  ScriptedDevice device;
  CallbackLog log(device);
  device.ReadEndlessly({7, 7});
  ASSERT_EQ(device.Open(), 1);
  ASSERT_TRUE(log.dataEvent.Wait());
  device.Close();
  const size_t deliveredByClose = log.Data().size();
  log.dataEvent.Reset();
  EXPECT_FALSE(log.dataEvent.Wait(100));
  EXPECT_EQ(log.Data().size(), deliveredByClose);
  EXPECT_EQ(log.closed, 1);
}

}  // namespace
