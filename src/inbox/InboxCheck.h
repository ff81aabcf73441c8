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
    // False when the bounce answers a copy of the campaign but names none of its recipients
    // ("nicht zuzuordnen"): it blocks nobody.
    bool assigned = true;
    bool stillTrying = false;  // from a delay warning, which never counts towards blocking; not kept
};

// "unzustellbar", "vorübergehend unzustellbar", "Abmeldung", "Problem beim Absender": the kind as the
// review and the block list name it.
QString kindText(InboxFinding::Kind kind);
inline constexpr char kUnassignedText[] = "nicht zuzuordnen";
// Whether an item may go on the block list at all: a sender-side problem or a bounce that names
// nobody of the campaign never does.
bool mayBlock(const ReviewItem& item);
// The provider that refused a sender, as the review groups sender-side problems: the recipient's mail
// provider by its usual name ("T-Online", "GMX/WEB.DE (1&1)", "Yahoo/AOL"), else the address's domain.
QString providerOf(const QString& address);

// Sender-side problems as the review lists them: once per provider and campaign, the latest server
// text standing for the others.
struct SenderProblem {
    QString provider;
    QString campaignFolder;
    QString campaignSubject;
    QStringList addresses;
    QString evidence;
    QDateTime date;

    // "T-Online (2 Adressen)"
    QString title() const;
};
QList<SenderProblem> senderProblems(const QList<ReviewItem>& items);
inline constexpr char kSenderProblemAdvice[] =
    "Bei einem Problem beim Absender hat der Server des Empfängers nicht dessen Adresse abgelehnt, sondern "
    "Ihren Absender, Ihren Mailserver oder Ihren Anbieter (Sperrliste, Spam-Filter, Richtlinie). Niemand "
    "wird deshalb gesperrt. Fragen Sie Ihren Anbieter, ob sein Server auf einer Sperrliste steht; prüfen Sie "
    "SPF und DKIM (und DMARC) Ihrer Absender-Domain; steht er auf einer Sperrliste, warten Sie, bis der "
    "Eintrag abgelaufen ist, und senden Sie diesen Empfängern danach erneut.";

// The recipients and Message-IDs of every campaign of a working-files folder, to find the copy a
// bounce or request answers.
class CampaignIndex {
public:
    static CampaignIndex build(const QString& workFolder);

    bool isEmpty() const { return campaigns_.isEmpty(); }
    QDateTime oldest() const;
    bool knows(const QString& address) const { return byAddress_.contains(address.toLower()); }
    // The sender addresses of the campaigns: never a bounce's recipient.
    QStringList senders() const { return senders_; }
    // The findings of one message, matched: the Message-ID of the copy it answers confirms the campaign
    // and the named address must be one of its recipients (a request to leave: the copy's recipient);
    // without one of ours, the address in the newest campaign sent before it (or in any). A bounce that
    // answers a campaign's copy but names none of its recipients gives one item "nicht zuzuordnen";
    // nothing when it answers none of ours.
    QList<ReviewItem> match(const QList<InboxFinding>& findings) const;

private:
    struct Entry {
        QString folder;
        QString subject;
        QDateTime created;
    };
    std::optional<ReviewItem> matchOne(const InboxFinding& finding) const;
    ReviewItem item(const InboxFinding& finding, qsizetype campaign, const QString& address) const;

    QList<Entry> campaigns_;                                        // newest first
    QHash<QByteArray, std::pair<qsizetype, QString>> byMessageId_;  // campaign and address
    QHash<QString, QList<qsizetype>> byAddress_;                    // small letters; newest first
    QHash<QString, QString> listed_;                                // small letters: as the list has it
    QStringList senders_;
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
// (German); when the session fails midway, what was read whole is kept (the last UID advances only
// over messages fetched and read) and the message says how far the check came.
CheckResult checkInbox(const QString& workFolder, const QString& account, ImapSession& session,
                       const send::BlockList& blocks);

// Puts the ticked items that may block on the block list and saves it; the open findings are then
// decided and forgotten. Returns how many addresses were new on the list.
qsizetype applyReview(const QString& workFolder, const QList<ReviewItem>& items);

}  // namespace zw::inbox
