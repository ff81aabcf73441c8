#include "send/CampaignTexts.h"

namespace zw::send {

QString countsText(const CampaignStatus& s) {
    return QStringLiteral("Gesendet: %1, fehlgeschlagen: %2, ausstehend: %3 (von %4).")
        .arg(s.sent)
        .arg(s.failed)
        .arg(s.pending)
        .arg(s.total);
}

QString maybeTwiceText(const CampaignStatus& s) {
    if (s.maybeTwice <= 0)
        return {};
    return (s.maybeTwice == 1
                ? QStringLiteral("Nach einer Unterbrechung oder einer verlorenen Antwort des Servers wurde "
                                 "die Nachricht erneut gesendet: 1 Empfänger hat sie vielleicht zweimal "
                                 "erhalten.")
                : QStringLiteral("Nach einer Unterbrechung oder einer verlorenen Antwort des Servers wurde "
                                 "die Nachricht erneut gesendet: %1 Empfänger haben sie vielleicht zweimal "
                                 "erhalten.")
                      .arg(s.maybeTwice));
}

QString noUnsubscribeText() {
    return QStringLiteral(
        "Hinweis: Die Vorlage hat keinen Abmeldelink. Große Anbieter erwarten einen "
        "(List-Unsubscribe) und sortieren Newsletter ohne ihn oft als Spam aus.");
}

QString stateText(CampaignState state) {
    switch (state) {
        case CampaignState::Running:
            return QStringLiteral("läuft");
        case CampaignState::Finished:
            return QStringLiteral("fertig");
        case CampaignState::Paused:
            return QStringLiteral("angehalten");
        case CampaignState::Interrupted:
            break;
    }
    return QStringLiteral("unterbrochen");
}

QString limitText(int limit, bool hourly) {
    return (hourly ? QStringLiteral("Das Limit von %1 Nachrichten pro Stunde ist erreicht.")
                   : QStringLiteral("Das Limit von %1 Nachrichten am Tag ist erreicht."))
        .arg(limit);
}

namespace {

QString momentText(const QDateTime& until, const QDateTime& now) {
    const QString time = until.toString(QStringLiteral("HH:mm"));
    return until.date() == now.date()
               ? QStringLiteral("um %1").arg(time)
               : QStringLiteral("am %1 um %2").arg(until.toString(QStringLiteral("dd.MM.")), time);
}

}  // namespace

QString waitingText(const CampaignStatus& s, const QDateTime& now) {
    if (!s.waitingUntil.isValid())
        return {};
    const QString reason =
        s.waitAnswer.isEmpty()
            ? s.waitLimit
            : QStringLiteral("Ihr Anbieter nimmt gerade keine weiteren Nachrichten an („%1“).")
                  .arg(s.waitAnswer);
    return QStringLiteral("%1 Weiter %2.").arg(reason, momentText(s.waitingUntil, now));
}

QString limitDurationText(qsizetype count, int perHour, int perDay) {
    auto periods = [count](int limit) { return (count + limit - 1) / limit; };
    if (perDay > 0 && count > perDay) {
        const qsizetype days = periods(perDay);
        return QStringLiteral("bei %1 Nachrichten am Tag: %2 Tage").arg(perDay).arg(days);
    }
    if (perHour > 0 && count > perHour) {
        const qsizetype hours = periods(perHour);
        return QStringLiteral("bei %1 Nachrichten pro Stunde: %2 Stunden").arg(perHour).arg(hours);
    }
    return {};
}

QString waitingUntilText(const QDateTime& until, const QDateTime& now) {
    return QStringLiteral("wartet bis %1")
        .arg(until.date() == now.date() ? until.toString(QStringLiteral("HH:mm"))
                                        : until.toString(QStringLiteral("dd.MM. HH:mm")));
}

}  // namespace zw::send
