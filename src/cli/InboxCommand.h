#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "send/SenderProfile.h"

namespace zw::cli {

// zettelwerk-send --block / --unblock: one address onto the block list of the program folder or off
// it. Returns the exit status.
int changeBlockList(const QString& programFolder, const QString& address, bool block);

// zettelwerk-send --inbox [--apply]: reads the profile's inbox for bounces and unsubscribe requests,
// prints the open findings (those proposed for the block list marked "[x]") and, with apply, puts the
// proposed ones on the block list. password gives the incoming server's password, or nothing.
int checkInboxCommand(const QString& programFolder, const send::SenderProfile& profile, bool apply,
                      const std::function<std::optional<QString>(const send::SenderProfile&)>& password);

}  // namespace zw::cli
