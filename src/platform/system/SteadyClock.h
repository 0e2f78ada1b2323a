#pragma once
// The steady clock of capture timing: microseconds that only go forward, unaffected by changes
// of the wall clock.
#include <chrono>
#include <cstdint>

namespace steadyclock {
inline std::int64_t NowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
}
