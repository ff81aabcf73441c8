#pragma once

#include <QString>

namespace zw::send {

// How the connection to the mail server is secured. Plain SMTP is only for a server on this machine.
enum class Security { StartTls, ImplicitTls, None };

// The sender and the server one user sends through. Never holds the password: that lives in the
// desktop's secret store (PasswordStore) or, for one campaign, in memory.
struct SenderProfile {
    QString name;     // the sender's name as readers see it, may hold umlauts
    QString address;  // the sender's address, also the envelope sender
    QString server;
    int port = 587;
    Security security = Security::StartTls;
    QString user;                      // login name; empty: no login
    int messagesPerMinute = 0;         // the provider's limit; 0: none
    int messagesPerHour = 0;           // over any rolling hour, all campaigns together; 0: none
    int messagesPerDay = 0;            // over any rolling 24 hours, all campaigns together; 0: none
    QString caFile;                    // an extra CA certificate file (PEM) for an in-house CA; empty: none
    bool oneClickUnsubscribe = false;  // the unsubscribe page takes RFC 8058 one-click requests
    // The incoming server whose inbox is read for bounces and unsubscribe requests; empty: none. With
    // one, every message also offers to unsubscribe by mail to the sender's address.
    QString imapServer;
    int imapPort = 993;
    Security imapSecurity = Security::ImplicitTls;
    QString imapUser;  // empty: the login name for sending
    // How long the server may take, in seconds (RFC 5321's advice): to accept the connection, to greet
    // and to answer each command, and to answer the end of a message. Kept in the file only when changed.
    int connectTimeout = 60;
    int answerTimeout = 300;
    int dataEndTimeout = 600;

    // Whether the profile names everything a sending needs (sender address, server, port).
    bool isComplete() const;
};

// The profile's file in the working-files folder.
inline constexpr char kProfileFileName[] = "Absender.ini";
QString profilePath(const QString& workFolder);

// Reads the profile; a missing file gives an empty profile. Throws zw::Error (German) on a file
// that exists but cannot be read.
SenderProfile loadProfile(const QString& path);
// Writes the profile readable by its owner only (mode 0600), replacing the old file in one step.
void saveProfile(const SenderProfile& profile, const QString& path);

}  // namespace zw::send
