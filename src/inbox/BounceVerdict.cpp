#include "inbox/BounceVerdict.h"

#include <QRegularExpression>

namespace zw::inbox {

namespace {

QRegularExpression phrases(const char* pattern) {
    return QRegularExpression(QString::fromUtf8(pattern), QRegularExpression::CaseInsensitiveOption |
                                                              QRegularExpression::UseUnicodePropertiesOption);
}

bool says(const QRegularExpression& pattern, const QString& text) {
    return pattern.match(text).hasMatch();
}

// The sender's server, address or provider was refused, whatever code the server chose: block lists
// by name, the sender's DNS (PTR, SPF, DKIM, DMARC) and the German providers' words for a listing
// (T-Online's "IP=..." refusal, GMX's PTR record, Yahoo's and AOL's bracketed codes).
bool refusesTheSenderPlainly(const QString& text) {
    static const QRegularExpression p = phrases(
        "sender address rejected|sender rejected|sender verify|sender domain|domain of sender|"
        "absender\\w*( ist| wurde)? (unbekannt|abgelehnt)|client host (rejected|\\[)|helo command rejected|"
        "blocked using|\\blisted (in|on|at|by)\\b|black ?list|block ?list|deny ?list|spamhaus|\\bsorbs\\b|"
        "uceprotect|barracuda|spamcop|\\brbl\\b|dnsbl|\\bdmarc\\b|\\bspf\\b|\\bdkim\\b|reverse dns|"
        "\\brdns\\b|\\bptr\\b|reputation|will not accept delivery|\\bbanned\\b|rate[- ]limit|"
        "unauthenticated|not (authorized|allowed|permitted) to send|user complaints|unexpected volume|"
        "\\[(ts|tss|bl|rl|dy|ip)\\d{1,2}\\]|(?<![\\d.])[45]\\.7\\.2[3567](?!\\d)|ip=\\d");
    return says(p, text);
}

bool saysMailboxFull(const QString& text) {
    static const QRegularExpression p = phrases(
        "mailbox (is )?full|over ?quota|quota exceeded|exceeds? (the )?quota|exceeded (its |the )?storage|"
        "out of storage|insufficient storage|mailbox size limit|postfach (ist )?voll|speicherplatz|"
        "(?<![\\d.])[45]\\.2\\.2(?!\\d)");
    return says(p, text);
}

bool saysAddressUnknown(const QString& text) {
    static const QRegularExpression p = phrases(
        "user unknown|unknown user|no such (user|mailbox|recipient)|mailbox not found|mailbox unavailable|"
        "does not exist|doesn't exist|address not found|couldn't be found|could not be found|"
        "unknown recipient|invalid (recipient|mailbox)|recipient not found|recipientnotfound|"
        "user not found|no mailbox here|mailbox (is )?disabled|account (is |has been )?disabled|"
        "doesn't have an? [\\w.-]+ account|not a valid mailbox|existiert nicht|unbekannt|nicht gefunden|"
        "(?<![\\d.])5\\.1\\.(1|10|2|6)(?!\\d)");
    return says(p, text);
}

// Greylisting, a message that waited too long in a queue, a server that asks to come back later.
bool saysTemporaryByNature(const QString& text) {
    static const QRegularExpression p = phrases(
        "gr[ae]y-?list|try (again )?later|please try again|versuchen sie es sp(ä|ae)ter|retry time|"
        "delivery time expired|message expired|delivery expired|expired in queue|queue\\.expired|"
        "too long in (the )?queue|(?<![\\d.])[45]\\.4\\.7(?!\\d)|timed? ?out|did not accept our requests|"
        "temporar|vor(ü|ue)bergehend|deferred");
    return says(p, text);
}

// A policy, spam or content filter, or a refusal of the sending server (5.7.x, 4.7.x).
bool refusesTheSender(const QString& text) {
    static const QRegularExpression p = phrases(
        "\\bblock(ed)?\\b|\\bspam|polic(y|ies)|content filter|unsolicited|virus|malware|phishing|"
        "authentication|not accepted|relay");
    static const QRegularExpression policyCode(QStringLiteral("(?<![\\d.])5\\.7\\.\\d{1,3}(?!\\d)"));
    if (says(policyCode, text))
        return says(p, text);
    static const QRegularExpression uncoded =
        phrases("\\bblocked\\b|\\bspam|polic(y|ies)|content filter|unsolicited|virus|malware|phishing");
    return says(uncoded, text);
}

Verdict byCode(const QString& text, const QString& status) {
    if (status.startsWith(u'5'))
        return Verdict::Permanent;
    if (status.startsWith(u'4'))
        return Verdict::Temporary;
    static const QRegularExpression reply(QStringLiteral("(?<![\\d.:/=-])([45])\\d\\d(?=[ -])"));
    if (const QRegularExpressionMatch m = reply.match(text); m.hasMatch())
        return m.captured(1) == u"5" ? Verdict::Permanent : Verdict::Temporary;
    static const QRegularExpression permanent = phrases(
        "permanent (error|failure)|giving up|i've given up|couldn't find any host|host not found|"
        "recipient rejected|dauerhaft");
    if (says(permanent, text))
        return Verdict::Permanent;
    if (saysStillTrying(text))
        return Verdict::Temporary;
    return Verdict::Unknown;
}

}  // namespace

QString enhancedStatus(const QString& text) {
    static const QRegularExpression code(
        QStringLiteral("(?<![\\d.])([245]\\.\\d{1,3}\\.\\d{1,3})(?!\\.?\\d)"));
    const QRegularExpressionMatch m = code.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

Verdict judgeBounceText(const QString& text) {
    if (refusesTheSenderPlainly(text))
        return Verdict::SenderSide;
    if (saysMailboxFull(text))
        return Verdict::Temporary;
    if (saysAddressUnknown(text))
        return Verdict::Permanent;
    // 4.7.x refuses the sending server for now; greylisting alone asks every new sender to come back.
    static const QRegularExpression refusedForNow(QStringLiteral("(?<![\\d.])4\\.7\\.\\d{1,3}(?!\\d)"));
    static const QRegularExpression greylisting = phrases("gr[ae]y-?list");
    if (says(refusedForNow, text))
        return says(greylisting, text) ? Verdict::Temporary : Verdict::SenderSide;
    if (saysTemporaryByNature(text))
        return Verdict::Temporary;
    if (refusesTheSender(text))
        return Verdict::SenderSide;
    return byCode(text, enhancedStatus(text));
}

bool saysStillTrying(const QString& text) {
    static const QRegularExpression p = phrases(
        "delayed|will retry|will be retried|still being retried|not yet been delivered|still trying|"
        "delivery attempts will continue|could not send message for past|no action is required|"
        "verz(ö|oe)gert|noch nicht zugestellt");
    return says(p, text);
}

bool saysDelivered(const QString& text) {
    static const QRegularExpression p = phrases(
        "\\((relay|success|delivered)\\)|successful(ly)? (mail )?deliver|has been delivered|was delivered|"
        "delivery to the following recipients? (was )?(succeeded|complete)|delivery to these recipients or "
        "groups is complete|erfolgreich zugestellt|^(delivered|zugestellt):");
    return says(p, text);
}

}  // namespace zw::inbox
