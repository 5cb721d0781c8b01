#pragma once

#include <cstdint>

#include "core/settings/settings_table.h"

namespace qfd {

// Interval of the main timer while polling, in milliseconds.
inline int EffectiveLatency(std::int16_t latency) {
    return latency < kMinimumLatency ? kMinimumLatency : latency;
}

// Ticks the splash stays up: 3000 ms worth of polling ticks, rounded down.
inline int SplashCountdownStart(int effectiveLatency) { return 3000 / effectiveLatency; }

// Interval of the main timer while counting seconds (delayed and waiting alerts).
inline constexpr int kSecondTick = 1000;

}  // namespace qfd
