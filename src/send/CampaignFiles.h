#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "send/Campaign.h"
#include "send/Journal.h"

namespace zw::send {

// The files of a campaign folder. Each is written once at creation, durably; only the journal
// grows, and the report is written anew at the end of every run.
inline constexpr char kMessageFile[] = "nachricht.eml";
inline constexpr char kSettingsFile[] = "kampagne.ini";
inline constexpr char kRecipientsFile[] = "empfaenger.tsv";
inline constexpr char kJournalFile[] = "journal.log";
inline constexpr char kReportFile[] = "bericht.csv";
// The personal fields of the message, when it has any (FieldSet::serialize).
inline constexpr char kFieldsFile[] = "felder.ini";
// The lock "versand.lock" that the system releases when its process ends, however it ends.
inline constexpr char kLockName[] = "versand";

// What a campaign folder holds besides its message and journal.
struct CampaignSettings {
    SenderProfile profile;
    QByteArray unsubscribeLink;  // as the template stores it
    QString subject;
    QDateTime created;
    QStringList columns{};  // the list's header, for the personal fields
};

// Where each recipient stands after the journal's records so far.
struct RecipientState {
    enum Stage { Pending, InFlight, Sent, Failed } stage = Pending;
    int temporaryAnswers = 0;
    bool failedTemporarily = false;  // its last answers were temporary ones (or the connection broke)
    QString serverText;
    QDateTime time;
    QByteArray messageId;  // of the copy last sent (or about to be), "<...>"
    int answersLost = 0;    // messages that went out without the server's answer
    bool maybeTwice = false;  // a copy went out again after one that may have arrived
};

// What the journal and the report say of a message whose answer was lost.
inline constexpr char kAnswerLostText[] = "Antwort nach dem Senden verloren";

// The journal replayed: the stage of every recipient and the campaign's counts.
struct Replay {
    QList<RecipientState> recipients;
    CampaignStatus status;
    int waitsInARow = 0;  // the provider's refusals since a message last went through
};
Replay replayJournal(const QList<JournalRecord>& records, qsizetype recipientCount);

// Creates the folder with its files under a temporary name and renames it when complete, so that
// a crash leaves no half campaign. Returns the folder.
QString writeCampaignFolder(const QString& parent, const Newsletter& newsletter, const RecipientList& list,
                            const CampaignSettings& settings);
CampaignSettings readCampaignSettings(const QString& folder);
QList<Recipient> readCampaignRecipients(const QString& folder);
// The newsletter a campaign sends, its fields included.
Newsletter readCampaignNewsletter(const QString& folder, const CampaignSettings& settings);

// A cell of a table for a spreadsheet (";" between cells), quoted where it must be.
QByteArray csvField(const QString& text);

// The report: one row per recipient, for a spreadsheet (UTF-8 with BOM, ";").
void writeReport(const QString& path, const QList<Recipient>& recipients,
                 const QList<RecipientState>& states);

// Whether a process holds the campaign's lock now.
bool campaignRunning(const QString& folder);

}  // namespace zw::send
