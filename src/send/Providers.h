#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "send/SenderProfile.h"

namespace zw::send {

// A mail provider many of our users have, with the server its customers send through.
struct Provider {
    QString name;         // as the provider calls itself ("GMX", "WEB.DE")
    QStringList domains;  // the address domains it hands out, in small letters
    QString server;
    int port = 587;
    Security security = Security::StartTls;
    // One German sentence when the account needs something besides its password for sending (an app
    // password, access switched on first) or cannot send from programs like ours; empty otherwise.
    QString note;
};

// The providers we know, in the order the table keeps them.
const QList<Provider>& knownProviders();

// The provider of the address's domain (ignoring case), or nothing for any other address.
std::optional<Provider> providerForAddress(const QString& address);

}  // namespace zw::send
