#pragma once

#include <optional>

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include "inbox/BounceReader.h"
#include "send/BlockList.h"

namespace zw::inbox {

class ImapSession;

// A finding matched to a campaign and its recipient, as the review shows it.
struct ReviewItem {
    InboxFinding::Kind kind = InboxFinding::Permanent;
    QString address;  // the recipient's address as the campaign's list has it
    QString evidence;
    QDateTime date;
    QString campaignFolder;
    QString campaignSubject;
    bool ticked = false;  // proposed for the block list
};

// "unzustellbar", "vorübergehend unzustellbar", "Abmeldung": the kind as the review and the block
// list name it.
QString kindText(InboxFinding::Kind kind);

// The recipients and Message-IDs of every campaign of a working-files folder, to find the copy a
// bounce or request answers.
class CampaignIndex {
public:
    static CampaignIndex build(const QString& workFolder);

    bool isEmpty() const { return campaigns_.isEmpty(); }
    QDateTime oldest() const;
    bool knows(const QString& address) const { return byAddress_.contains(address.toLower()); }
    // By the Message-ID of the copy it answers, else by the address in the newest campaign that was
    // sent before it (or in any); nothing when it answers none of ours.
    std::optional<ReviewItem> match(const InboxFinding& finding) const;

private:
    struct Entry {
        QString folder;
        QString subject;
        QDateTime created;
    };
    QList<Entry> campaigns_;                                        // newest first
    QHash<QByteArray, std::pair<qsizetype, QString>> byMessageId_;  // campaign and address
    QHash<QString, QList<qsizetype>> byAddress_;                    // small letters; newest first
};

// What the program folder keeps between checks: where the last one stopped, the findings not yet
// decided on, and which addresses failed temporarily in which campaigns.
inline constexpr char kInboxStateFileName[] = "Posteingang.ini";
struct InboxState {
    QString account;  // "user@host:port": another account starts from the beginning
    quint32 uidValidity = 0;
    quint32 lastUid = 0;
    QList<ReviewItem> open;
    QSet<std::pair<QString, QString>> temporaryFailures;  // address, campaign folder name

    static InboxState load(const QString& path);
    void save(const QString& path) const;
};

struct CheckResult {
    QList<ReviewItem> items;     // the open findings, the new ones included, oldest first
    qsizetype newMessages = 0;   // messages read in this check
    qsizetype fetchedWhole = 0;  // of those, fetched whole
    bool startedOver = false;    // the mailbox's UIDVALIDITY changed: read again from its start
};

// A temporary failure is proposed for the block list only once the address failed temporarily in
// this many campaigns.
inline constexpr int kTemporaryCampaigns = 3;

// Reads what arrived in INBOX since the last check (by UIDVALIDITY and UID, and nothing older than the
// oldest campaign), matches the findings to the campaigns and adds them to the open ones; addresses
// already on the block list are left out. Saves the state in the working-files folder. Throws zw::Error
// (German).
CheckResult checkInbox(const QString& workFolder, const QString& account, ImapSession& session,
                       const send::BlockList& blocks);

// Puts the ticked items on the block list and saves it; the open findings are then decided and
// forgotten. Returns how many addresses were new on the list.
qsizetype applyReview(const QString& workFolder, const QList<ReviewItem>& items);

}  // namespace zw::inbox
