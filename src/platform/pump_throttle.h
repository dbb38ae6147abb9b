#pragma once
// Lets pending events run from inside pixel loops at most every ~20 ms, so the
// abort button still gets through without costing a call per pixel.

#include <chrono>

namespace kov {

class Host;

class PumpThrottle {
 public:
  explicit PumpThrottle(Host& host,
                        std::chrono::milliseconds interval = std::chrono::milliseconds(20));

  // Cheap enough to call per row; pumps when the interval has passed.
  // Returns true when it pumped.
  bool tick();

 private:
  Host& m_host;
  std::chrono::steady_clock::duration m_interval;
  std::chrono::steady_clock::time_point m_last;
};

}  // namespace kov
