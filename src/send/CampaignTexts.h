#pragma once

#include <QString>

#include "send/Campaign.h"

namespace zw::send {

// What the command and the window say about a campaign, in the same German words.

// "Gesendet: 6, fehlgeschlagen: 1, ausstehend: 0 (von 7)."
QString countsText(const CampaignStatus& status);
// The sentence owning up to the recipients who may have got the message twice; empty when none may.
QString maybeTwiceText(const CampaignStatus& status);
// The hint for a newsletter without an unsubscribe address.
QString noUnsubscribeText();
// The state as the list of campaigns names it: "fertig", "angehalten", "unterbrochen", "läuft".
QString stateText(CampaignState state);
// "Das Limit von 100 Nachrichten pro Stunde ist erreicht." (or "am Tag").
QString limitText(int limit, bool hourly);
// What a waiting campaign says: the provider's answer or the profile's limit, and "Weiter um 14:35."
// (with the date when it is not today); empty when it does not wait.
QString waitingText(const CampaignStatus& status, const QDateTime& now = QDateTime::currentDateTime());
// How long count messages take at the hourly or daily limit that binds them: "bei 500 Nachrichten am
// Tag: 2 Tage"; empty when neither limit holds them back.
QString limitDurationText(qsizetype count, int perHour, int perDay);
// "wartet bis 14:35", for the list of campaigns.
QString waitingUntilText(const QDateTime& until, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace zw::send
