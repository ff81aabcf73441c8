#pragma once

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>

namespace zw::send {

// One step of a campaign as the journal keeps it.
struct JournalRecord {
    enum Kind : char {
        Sending = 'B',   // the message to recipient `index` is about to go out
        Sent = 'S',      // the server took it; text: its queue answer
        Failed = 'F',    // refused for good; text: the server's answer
        Retry = 'T',     // a temporary answer; the recipient is tried again later
        Unsent = 'U',    // not sent after all (the campaign stopped before it went out)
        Paused = 'P',    // the campaign stopped; text: why, when not on request
        Finished = 'E',  // every recipient sent or failed
        Waiting = 'W',   // the provider refuses for now; text: until when (msecs) and its answer
        WaitOver = 'R',  // the wait ended (its time came, or the user asked to try now)
        Again = 'A',     // a recipient failed for a temporary reason is to be sent to once more
        // The message went out in full but the server's answer was lost: it may have arrived. The first
        // time the recipient is tried once more later, the second time it is given up.
        Lost = 'L',
    };
    Kind kind = Sending;
    qsizetype index = -1;  // the recipient, for the per-recipient kinds
    QDateTime time;
    QString text;
};

// An append-only file of records, each on one line with a checksum and synced to the disk before
// append() returns. A record that a crash or power loss cut short, or that the disk left garbled,
// fails its checksum and is ignored when reading.
class Journal {
public:
    // Opens the journal for appending, creating it. Throws zw::Error (German).
    explicit Journal(const QString& path);
    // Writes the records in one write and waits for the disk. Throws zw::Error (German).
    void append(const QList<JournalRecord>& records);

    // The intact records of a journal file, in order; none when it does not exist.
    static QList<JournalRecord> read(const QString& path);

private:
    void writeSynced(const QByteArray& bytes);
    QFile file_;
};

}  // namespace zw::send
