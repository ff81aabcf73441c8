#include "send/Journal.h"

#include <unistd.h>

#include <cerrno>

#include "platform/Error.h"

namespace zw::send {

namespace {

QByteArray checksum(const QByteArray& body) {
    return QByteArray::number(qChecksum(body), 16).rightJustified(4, '0');
}

// "<checksum> <kind> <index> <msecs since the epoch> <text>"; the text on one line.
QByteArray encode(const JournalRecord& record) {
    QString text = record.text;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    const QByteArray body = QByteArray(1, record.kind) + ' ' + QByteArray::number(record.index) + ' ' +
                            QByteArray::number(record.time.toMSecsSinceEpoch()) + ' ' + text.toUtf8();
    return checksum(body) + ' ' + body + '\n';
}

bool decode(const QByteArray& line, JournalRecord& record) {
    if (line.size() < 6 || line[4] != ' ' || checksum(line.mid(5)) != line.left(4))
        return false;
    const QList<QByteArray> fields = line.mid(5).split(' ');
    if (fields.size() < 3 || fields[0].size() != 1 || !QByteArray("BSFTUPEWRAL").contains(fields[0][0]))
        return false;
    bool indexOk = false, timeOk = false;
    record.kind = JournalRecord::Kind(fields[0][0]);
    record.index = fields[1].toLongLong(&indexOk);
    record.time = QDateTime::fromMSecsSinceEpoch(fields[2].toLongLong(&timeOk));
    const qsizetype textStart = 5 + fields[0].size() + fields[1].size() + fields[2].size() + 3;
    record.text = QString::fromUtf8(line.mid(textStart));
    return indexOk && timeOk;
}

}  // namespace

Journal::Journal(const QString& path) : file_(path) {
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        throw fileCreateError(path, errno);
    // A record cut short by a crash ends without its line break: the next record starts on a line of
    // its own, so that only the torn one fails its checksum.
    if (file_.size() > 0) {
        file_.seek(file_.size() - 1);
        if (file_.read(1) != "\n")
            writeSynced("\n");
    }
}

void Journal::append(const QList<JournalRecord>& records) {
    QByteArray bytes;
    for (const JournalRecord& record : records) bytes += encode(record);
    writeSynced(bytes);
}

void Journal::writeSynced(const QByteArray& bytes) {
    if (file_.write(bytes) != bytes.size() || ::fdatasync(file_.handle()) != 0)
        throw fileCreateError(file_.fileName(), errno ? errno : EIO);
}

QList<JournalRecord> Journal::read(const QString& path) {
    QFile file(path);
    QList<JournalRecord> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            break;  // the last record, cut short
        JournalRecord record;
        if (decode(bytes.mid(start, end - start), record))
            records.append(record);
        start = end + 1;
    }
    return records;
}

}  // namespace zw::send
