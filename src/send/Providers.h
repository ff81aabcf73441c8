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
    // The limits the provider publishes for every account alike; 0: none published, or it depends on
    // the account (limitNote then says so, in German).
    int messagesPerHour = 0;
    int messagesPerDay = 0;
    QString limitNote{};
    // A sending service's SMTP relay (no addresses of its own): the form of its user name, where its
    // SMTP credentials are made, in German.
    bool relay = false;
    QString userForm{};
    QString credentials{};
};

// The providers we know, in the order the table keeps them.
const QList<Provider>& knownProviders();

// The provider of the address's domain (ignoring case), or nothing for any other address.
std::optional<Provider> providerForAddress(const QString& address);
// The provider or sending service whose server this is (ignoring case); where several share one
// server (Gmail and Google Workspace), the address's own provider, else the one without domains.
std::optional<Provider> providerForServer(const QString& server, const QString& address = {});

// The warning when the sender's address belongs to a known provider and is sent through another
// provider's or service's server: such messages fail the receivers' checks of the sender's domain
// (SPF, DKIM, DMARC). Empty otherwise, also for an own domain, which may be sent through anyone.
QString senderDomainWarning(const SenderProfile& profile);

}  // namespace zw::send
