#include "send/CampaignFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/SingleInstance.h"
#include "render/Fields.h"
#include "send/SenderLimits.h"

namespace zw::send {

namespace {

constexpr char kProfileCopy[] = "absender.ini";

// One recipient per line: address, name and line of the list, then the cells for the personal
// fields, by tabs; a name or cell never holds one.
QByteArray recipientsText(const QList<Recipient>& recipients) {
    QByteArray out;
    for (const Recipient& r : recipients) {
        QString name = r.name;
        name.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
        out += r.address.toUtf8() + '\t' + name.toUtf8() + '\t' + QByteArray::number(r.line);
        if (!r.cells.isEmpty())
            out += '\t' + QString(r.cells).replace(u'\n', u' ').toUtf8();
        out += '\n';
    }
    return out;
}

QString notACampaign(const QString& folder) {
    return QStringLiteral("Der Ordner \"%1\" ist kein Versand von Zettelwerk.")
        .arg(QDir::toNativeSeparators(folder));
}

}  // namespace

QByteArray csvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (field.contains(';') || field.contains('"') || field.contains('\n') || field.contains('\r'))
        field = '"' + field.replace("\"", "\"\"") + '"';
    return field;
}

Replay replayJournal(const QList<JournalRecord>& records, qsizetype recipientCount) {
    Replay replay;
    replay.recipients.resize(recipientCount);
    CampaignStatus& status = replay.status;
    bool paused = false;
    bool finished = false;
    for (const JournalRecord& record : records) {
        status.lastActivity = record.time;
        paused = record.kind == JournalRecord::Paused;
        if (record.kind == JournalRecord::Paused)
            status.stopReason = record.text;
        if (record.kind == JournalRecord::Finished)
            finished = true;
        if (readWaitRecord(record, &status.waitingUntil, &status.waitAnswer))
            ++replay.waitsInARow;
        if (record.kind == JournalRecord::WaitOver || record.kind == JournalRecord::Sent)
            status.waitingUntil = {};
        if (record.kind == JournalRecord::Sent)
            replay.waitsInARow = 0;
        if (record.index < 0 || record.index >= recipientCount)
            continue;
        RecipientState& r = replay.recipients[record.index];
        switch (record.kind) {
            case JournalRecord::Sending:
                // A second start without an answer to the first: the first may have arrived.
                if (r.stage == RecipientState::InFlight) {
                    ++status.maybeTwice;
                    r.maybeTwice = true;
                }
                r.stage = RecipientState::InFlight;
                r.messageId = record.text.toLatin1();
                r.serverText.clear();
                r.time = record.time;
                continue;
            case JournalRecord::Sent:
                r.stage = RecipientState::Sent;
                break;
            case JournalRecord::Failed:
                r.stage = RecipientState::Failed;
                r.failedTemporarily = r.temporaryAnswers > 0 || record.text.startsWith(u'4');
                break;
            case JournalRecord::Again:
                // Another try for one failed on temporary answers: a finished campaign goes on.
                r.stage = RecipientState::Pending;
                r.temporaryAnswers = 0;
                r.failedTemporarily = false;
                finished = false;
                continue;
            case JournalRecord::Retry:
                ++r.temporaryAnswers;
                r.stage = RecipientState::Pending;
                break;
            case JournalRecord::Unsent:
                r.stage = RecipientState::Pending;
                break;
            case JournalRecord::Lost:
                status.maybeTwice += r.answersLost == 0;
                r.maybeTwice = true;
                r.failedTemporarily = false;
                r.stage = ++r.answersLost >= 2 ? RecipientState::Failed : RecipientState::Pending;
                break;
            default:
                continue;
        }
        r.serverText = record.text;
        r.time = record.time;
    }
    status.total = recipientCount;
    for (const RecipientState& r : replay.recipients) {
        status.sent += r.stage == RecipientState::Sent;
        status.failed += r.stage == RecipientState::Failed;
        status.failedTemporarily += r.stage == RecipientState::Failed && r.failedTemporarily;
        status.maybeTwice += r.stage == RecipientState::InFlight;
    }
    status.pending = status.total - status.sent - status.failed;
    status.state = finished ? CampaignState::Finished
                   : paused ? CampaignState::Paused
                            : CampaignState::Interrupted;
    return replay;
}

QString writeCampaignFolder(const QString& parent, const Newsletter& newsletter, const RecipientList& list,
                            const CampaignSettings& settings) {
    // The lists are other people's addresses: the folders are the owner's alone.
    constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if (!QDir().mkpath(parent))
        throw fileCreateError(parent, errno);
    QFile::setPermissions(parent, kOwnerOnly);
    const QString base = settings.created.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(parent + u'/' + name); ++n) name = base + u'_' + QString::number(n);
    const QString final = parent + u'/' + name;
    const QString building = final + QLatin1String(kInterruptedWriteSuffix);
    QDir(building).removeRecursively();
    if (!QDir().mkpath(building) || !QFile::setPermissions(building, kOwnerOnly))
        throw fileCreateError(building, errno);

    writeFileAtomic(building + u'/' + kMessageFile, newsletter.rendered);
    saveProfile(settings.profile, building + u'/' + kProfileCopy);
    writeFileAtomic(building + u'/' + kSettingsFile,
                    "Betreff=" + settings.subject.toUtf8().toBase64() +
                        "\nErstellt=" + QByteArray::number(settings.created.toMSecsSinceEpoch()) +
                        "\nAbmeldelink=" + newsletter.unsubscribeLink.toBase64() +
                        "\nSpalten=" + list.columns.join(u'\t').toUtf8().toBase64() + '\n');
    if (!newsletter.fields.isEmpty())
        writeFileAtomic(building + u'/' + kFieldsFile, newsletter.fields.serialize());
    writeFileAtomic(building + u'/' + kRecipientsFile, recipientsText(list.recipients));
    if (!QDir().rename(building, final))
        throw fileCreateError(final, errno);
    return final;
}

CampaignSettings readCampaignSettings(const QString& folder) {
    CampaignSettings settings;
    QFile file(folder + u'/' + kSettingsFile);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(notACampaign(folder));
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray value = line.mid(line.indexOf('=') + 1);
        if (line.startsWith("Betreff="))
            settings.subject = QString::fromUtf8(QByteArray::fromBase64(value));
        else if (line.startsWith("Erstellt="))
            settings.created = QDateTime::fromMSecsSinceEpoch(value.toLongLong());
        else if (line.startsWith("Abmeldelink="))
            settings.unsubscribeLink = QByteArray::fromBase64(value);
        else if (line.startsWith("Spalten=") && !value.isEmpty())
            settings.columns = QString::fromUtf8(QByteArray::fromBase64(value)).split(u'\t');
    }
    settings.profile = loadProfile(folder + u'/' + kProfileCopy);
    return settings;
}

QList<Recipient> readCampaignRecipients(const QString& folder) {
    QList<Recipient> recipients;
    const QByteArray bytes = readFile(folder + u'/' + kRecipientsFile);
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 3)
            continue;
        Recipient r{QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]), fields[2].toLongLong(), {}};
        r.cells = QString::fromUtf8(fields.mid(3).join('\t'));
        recipients.append(std::move(r));
    }
    return recipients;
}

Newsletter readCampaignNewsletter(const QString& folder, const CampaignSettings& settings) {
    const QString fieldsPath = folder + u'/' + kFieldsFile;
    return {readFile(folder + u'/' + kMessageFile), settings.unsubscribeLink,
            QFile::exists(fieldsPath) ? FieldSet::parse(readFile(fieldsPath)) : FieldSet()};
}

void writeReport(const QString& path, const QList<Recipient>& recipients,
                 const QList<RecipientState>& states) {
    QByteArray out =
        "\xEF\xBB\xBF"
        "Adresse;Ergebnis;Serverantwort;Zeit\r\n";
    for (qsizetype i = 0; i < recipients.size(); ++i) {
        const RecipientState& s = states[i];
        // Given up after lost answers, it went out twice and either copy may have arrived.
        QByteArray outcome = s.stage == RecipientState::Sent ? "gesendet"
                             : s.stage == RecipientState::Failed
                                 ? (s.answersLost > 0 ? "vielleicht zweimal erhalten" : "fehlgeschlagen")
                                 : "ausstehend";
        if (s.maybeTwice && !(s.stage == RecipientState::Failed && s.answersLost > 0))
            outcome += " (vielleicht zweimal erhalten)";
        out += csvField(recipients[i].address) + ';' + outcome + ';' + csvField(s.serverText) + ';' +
               (s.time.isValid() ? s.time.toString(Qt::ISODate).toUtf8() : QByteArray()) + "\r\n";
    }
    writeFileAtomic(path, out);
}

bool campaignRunning(const QString& folder) {
    return !SingleInstance(QLatin1String(kLockName), folder).acquire();
}

}  // namespace zw::send
