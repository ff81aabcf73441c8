#include "send/SendClock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace zw::send {

QDateTime SendClock::now() const {
    return QDateTime::currentDateTime();
}

qint64 SendClock::realMicroseconds(qint64 clockMilliseconds) const {
    return clockMilliseconds * 1000;
}

bool SendClock::sleepUntil(const QDateTime& moment, const std::function<bool()>& interrupted) {
    // Short steps: a stop is seen soon without a thread of its own to wake this one, and a clock set
    // forward or back during a long wait is followed.
    constexpr qint64 kStepMicroseconds = 100'000;
    while (!interrupted()) {
        const qint64 left = now().msecsTo(moment);
        if (left <= 0)
            return true;
        const qint64 real = std::clamp<qint64>(realMicroseconds(left), 1, kStepMicroseconds);
        std::this_thread::sleep_for(std::chrono::microseconds(real));
    }
    return false;
}

SendClock& systemClock() {
    static SendClock clock;
    return clock;
}

}  // namespace zw::send
