#include "platform/pump_throttle.h"

#include "platform/host.h"

namespace kov {

PumpThrottle::PumpThrottle(Host& host, std::chrono::milliseconds interval)
    : m_host(host), m_interval(interval), m_last(std::chrono::steady_clock::now()) {}

bool PumpThrottle::tick() {
  const auto now = std::chrono::steady_clock::now();
  if (now - m_last < m_interval) return false;
  m_last = now;
  m_host.pumpEvents();
  return true;
}

}  // namespace kov
