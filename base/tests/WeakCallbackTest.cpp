#include "base/WeakCallback.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

class Owner : public virtual base::SupportWeakCallback {
 public:
  bool Handle(int* seen, int value) {
    *seen = value;
    return true;
  }
  std::string Name() const { return "owner"; }
};

TEST(WeakCallback, CallsThroughWhileTheOwnerLives) {
  Owner owner;
  int seen = 0;
  std::function<bool(int)> handler =
      owner.MakeWeakCallback(std::bind(&Owner::Handle, &owner, &seen, std::placeholders::_1));
  EXPECT_TRUE(handler(5));
  EXPECT_EQ(seen, 5);
}

TEST(WeakCallback, OfADeadOwnerDoesNothingAndReturnsAValueInitialisedResult) {
  auto owner = std::make_unique<Owner>();
  int seen = 0;
  std::function<bool(int)> handler =
      owner->MakeWeakCallback(std::bind(&Owner::Handle, owner.get(), &seen, std::placeholders::_1));
  std::function<std::string()> name = owner->MakeWeakCallback(std::bind(&Owner::Name, owner.get()));
  std::function<void()> closure = owner->MakeWeakCallback([&seen] { seen = -1; });
  owner.reset();
  EXPECT_FALSE(handler(5));
  EXPECT_EQ(name(), "");
  closure();
  EXPECT_EQ(seen, 0);
}

TEST(WeakCallback, ACopiedOwnerDoesNotShareTheOriginalsFlag) {
  auto original = std::make_unique<Owner>();
  bool ran = false;
  auto callback = original->MakeWeakCallback([&ran] { ran = true; });
  Owner copy(*original);
  original.reset();
  callback();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(copy.GetWeakFlag().expired());
}

TEST(WeakCallbackFlag, CancelKillsEarlierCallbacksAndLaterOnesRun) {
  base::WeakCallbackFlag flag;
  int runs = 0;
  auto before = flag.MakeWeakCallback([&runs] { runs += 1; });
  flag.Cancel();
  auto after = flag.MakeWeakCallback([&runs] { runs += 10; });
  before();
  after();
  EXPECT_EQ(runs, 10);
  EXPECT_TRUE(before.Expired());
}

}  // namespace
