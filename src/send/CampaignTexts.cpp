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
                ? QStringLiteral("Nach einer Unterbrechung wurde die Nachricht erneut gesendet: 1 "
                                 "Empfänger hat sie vielleicht zweimal erhalten.")
                : QStringLiteral("Nach einer Unterbrechung wurde die Nachricht erneut gesendet: %1 "
                                 "Empfänger haben sie vielleicht zweimal erhalten.")
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

}  // namespace zw::send
