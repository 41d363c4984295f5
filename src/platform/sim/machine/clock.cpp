#include "platform/sim/machine/clock.h"

#include <chrono>
#include <cstdio>

#include "common/format.h"

namespace orbex::sim {

VirtualClock::VirtualClock(const MachineConfig& config) : m_start(config.clockStart), m_now(config.clockStart) {
    using namespace std::chrono;
    int y = 2001, mo = 1, d = 1, h = 0, mi = 0, s = 0;
    std::sscanf(config.localTime.c_str(), "%d-%d-%dT%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    sys_days start = year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)};
    m_localStart = time_point_cast<milliseconds>(start) + hours{h} + minutes{mi} + seconds{s};
}

std::string VirtualClock::LocalTimeText() const {
    using namespace std::chrono;
    auto t = m_localStart + milliseconds{static_cast<uint32_t>(m_now - m_start)};
    sys_days date = floor<days>(t);
    year_month_day ymd{date};
    hh_mm_ss<milliseconds> tod{t - date};
    return Format("%04d-%02u-%02uT%02d:%02d:%02d.%03d", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(tod.hours().count()), static_cast<int>(tod.minutes().count()),
                  static_cast<int>(tod.seconds().count()), static_cast<int>(tod.subseconds().count()));
}

}  // namespace orbex::sim
