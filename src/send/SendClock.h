#pragma once

#include <functional>

#include <QDateTime>

namespace zw::send {

// The time a campaign keeps its pace, its limits and its waits by. The journal's times come from it
// too, so that a test can run a campaign on a faster clock and an hour's wait takes no hour.
class SendClock {
public:
    virtual ~SendClock() = default;
    virtual QDateTime now() const;
    // Sleeps until the moment comes or interrupted() says so; false when interrupted. Looks at
    // interrupted() at least every tenth of a second of real time.
    bool sleepUntil(const QDateTime& moment, const std::function<bool()>& interrupted);

protected:
    // How many real microseconds pass while this clock moves on by the given milliseconds.
    virtual qint64 realMicroseconds(qint64 clockMilliseconds) const;
};

// The computer's own clock.
SendClock& systemClock();

}  // namespace zw::send
