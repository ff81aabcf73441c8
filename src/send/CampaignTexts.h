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

}  // namespace zw::send
