#pragma once

#include <chrono>
#include <map>

#include <QDateTime>
#include <QList>
#include <QString>

#include "send/Journal.h"

namespace zw::send {

// What a server's refusal says about the sender: nothing (it is about the message or one recipient),
// a limit that passes (wait and try again), or the day's quota (wait for the day to pass).
enum class Throttle { None, Wait, DailyQuota };

// Classifies an answer (code and text as the server sent them). beforeRecipient: it answered the
// greeting, EHLO, STARTTLS, the login or MAIL FROM, where a temporary refusal concerns the sender
// whatever it says; after RCPT TO only an answer naming a limit or quota does.
Throttle senderThrottle(bool beforeRecipient, int code, const QString& answer);

// How long the campaign waits after the n-th refusal in a row (1-based): 2, 5, 15, 30, 60 minutes,
// then once an hour.
std::chrono::minutes throttleWait(int refusalsInARow);

// The journal's record of a wait that starts at `at` and ends at `until`, and its reading.
JournalRecord waitRecord(const QDateTime& at, const QDateTime& until, const QString& answer);
bool readWaitRecord(const JournalRecord& record, QDateTime* until, QString* answer);

// The moments a journal's messages went out, for the hourly and daily limits: every message the
// server took, and one started without an answer (it may have arrived), counted at the journal's
// next record or, when it is the last, at `now`. Refused and postponed messages do not count.
QList<qint64> sentMoments(const QList<JournalRecord>& records, const QDateTime& now);

// The messages sent by all campaigns of one campaigns folder, counted from their journals, so that
// two campaigns share one count and a restart does not reset it.
class SendLog {
public:
    // Reads this campaign's journal; the others' at the first refresh().
    SendLog(QString campaignsFolder, QString ownFolder, const QDateTime& now);
    // Reads again the other campaigns' journals that grew since the last look.
    void refresh(const QDateTime& now);
    // A message of this campaign went out.
    void note(const QDateTime& moment);

    // The first moment at which one more message keeps every limit (0: none) over the rolling hour
    // and day; `now` when it does already.
    QDateTime nextAllowed(const QDateTime& now, int perHour, int perDay) const;
    // The first message of the last 24 hours, invalid when there was none.
    QDateTime firstOfDay(const QDateTime& now) const;

private:
    struct Other {
        qint64 size = -1;
        QDateTime modified;
        QList<qint64> moments;
    };
    QString campaignsFolder_;
    QString ownFolder_;
    QList<qint64> own_;
    std::map<QString, Other> others_;
};

}  // namespace zw::send
