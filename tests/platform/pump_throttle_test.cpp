#include "platform/pump_throttle.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/scripted_host.h"

namespace kov {
namespace {

TEST(PumpThrottle, PumpsOnlyAfterTheInterval) {
  test::ScriptedHost host;
  PumpThrottle throttle(host, std::chrono::milliseconds(50));
  for (int i = 0; i < 1000; ++i) throttle.tick();
  EXPECT_EQ(host.pumps, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_TRUE(throttle.tick());
  EXPECT_EQ(host.pumps, 1);
  EXPECT_FALSE(throttle.tick());
}

}  // namespace
}  // namespace kov
