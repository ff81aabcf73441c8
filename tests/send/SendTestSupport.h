#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>

#include "send/SendClock.h"

namespace zw::test {

// The shipped default template rendered as the program renders it; a text given is put in front of
// its first news block's text.
QByteArray renderShippedTemplate(const QByteArray& firstBlockTextPrefix = {});

// The shipped default template, with that text in front of its first block's text, as a file in folder.
QString writeShippedTemplate(const QString& folder, const QByteArray& firstBlockTextPrefix = {});

// The fields a reader shows of a received message, decoded by GMime.
struct ParsedHeader {
    QString fromName, fromAddress;
    QString toAddress;
    QString subject;
    QDateTime date;
    QString messageId;
};
ParsedHeader parseHeader(const QByteArray& message);

// A campaign clock that runs `factor` times faster than the real one from the moment it is made, so
// that an hour's wait takes 3600 / factor seconds. Its time is the real time stretched, so moments the
// test server took down (real seconds) map onto it.
class ScaledClock : public send::SendClock {
public:
    explicit ScaledClock(double factor)
        : factor_(factor), startUs_(realUs()), startMs_(QDateTime::currentMSecsSinceEpoch()) {}
    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(at(double(realUs()) / 1e6)); }
    // The clock's time (milliseconds since the epoch) at a real moment in seconds since the epoch.
    qint64 at(double realSeconds) const {
        return startMs_ + qint64((realSeconds * 1e6 - double(startUs_)) * factor_ / 1000.0);
    }

protected:
    qint64 realMicroseconds(qint64 clockMs) const override {
        return qint64(double(clockMs) * 1000.0 / factor_);
    }

private:
    static qint64 realUs() {
        using namespace std::chrono;
        return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    }
    double factor_;
    qint64 startUs_;
    qint64 startMs_;
};

}  // namespace zw::test
