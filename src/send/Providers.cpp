#include "send/Providers.h"

namespace zw::send {

namespace {

Provider relayService(const QString& name, const QString& server, const QString& userForm,
                      const QString& credentials, int perDay, const QString& limitNote) {
    Provider p{name, {}, server, 587, Security::StartTls, {}, 0, perDay, limitNote};
    p.relay = true;
    p.userForm = userForm;
    p.credentials = credentials;
    return p;
}

// The submission servers as the providers publish them for mail programs. Where a provider offers
// both, STARTTLS on 587 is taken, except where the provider names implicit TLS first.
QList<Provider> buildTable() {
    const QString allowAccess = QStringLiteral(
        "Bei %1 muss der Zugriff über POP3 und IMAP einmal in den E-Mail-Einstellungen des Postfachs "
        "erlaubt werden, sonst nimmt der Server keine Anmeldung von Programmen an.");
    const QString accountAge = QStringLiteral(
        "%1 begrenzt die Nachrichten pro Stunde je nach Alter des Kontos; wie viele es bei Ihrem sind, "
        "sagt Ihnen %1.");
    const QString yahooKind = QStringLiteral(
        "%1 nimmt hier nur ein App-Passwort an, das Sie in den Kontoeinstellungen unter "
        "„Kontosicherheit“ erstellen, nicht das Passwort, mit dem Sie sich sonst anmelden.");
    return {
        {u"GMX"_qs,
         {u"gmx.de"_qs, u"gmx.net"_qs, u"gmx.at"_qs, u"gmx.ch"_qs, u"gmx.eu"_qs, u"gmx.org"_qs,
          u"gmx.info"_qs, u"gmx.biz"_qs},
         u"mail.gmx.net"_qs,
         587,
         Security::StartTls,
         allowAccess.arg(u"GMX"_qs)},
        {u"WEB.DE"_qs,
         {u"web.de"_qs},
         u"smtp.web.de"_qs,
         587,
         Security::StartTls,
         allowAccess.arg(u"WEB.DE"_qs)},
        {u"T-Online"_qs,
         {u"t-online.de"_qs, u"magenta.de"_qs},
         u"securesmtp.t-online.de"_qs,
         587,
         Security::StartTls,
         u"Die Telekom verlangt für E-Mail-Programme ein eigenes E-Mail-Passwort, das Sie im "
         "Telekom Kundencenter einrichten; das Passwort für die Webseite gilt hier nicht."_qs},
        {u"Posteo"_qs,
         {u"posteo.de"_qs, u"posteo.net"_qs, u"posteo.at"_qs, u"posteo.ch"_qs, u"posteo.eu"_qs,
          u"posteo.org"_qs, u"posteo.com"_qs, u"posteo.be"_qs, u"posteo.nl"_qs, u"posteo.uk"_qs,
          u"posteo.us"_qs},
         u"posteo.de"_qs,
         587,
         Security::StartTls,
         {}},
        {u"mailbox.org"_qs,
         {u"mailbox.org"_qs},
         u"smtp.mailbox.org"_qs,
         465,
         Security::ImplicitTls,
         u"Mit eingeschalteter Zwei-Faktor-Anmeldung braucht mailbox.org hier ein Applikationspasswort "
         "statt des Postfach-Passworts."_qs},
        {u"Gmail"_qs,
         {u"gmail.com"_qs, u"googlemail.com"_qs},
         u"smtp.gmail.com"_qs,
         587,
         Security::StartTls,
         u"Google nimmt hier nur ein App-Passwort an (Google-Konto, „Sicherheit“, „Bestätigung in zwei "
         "Schritten“, „App-Passwörter“), nicht Ihr normales Passwort."_qs,
         0,
         500},
        // Workspace addresses are the customers' own domains: found by the server, not by the address.
        {u"Google Workspace"_qs,
         {},
         u"smtp.gmail.com"_qs,
         587,
         Security::StartTls,
         u"Google nimmt hier nur ein App-Passwort an oder die Anmeldung, die der Administrator für "
         "E-Mail-Programme freigibt."_qs,
         0,
         2000},
        {u"Outlook.com"_qs,
         {u"outlook.com"_qs, u"outlook.de"_qs, u"outlook.at"_qs, u"hotmail.com"_qs, u"hotmail.de"_qs,
          u"hotmail.co.uk"_qs, u"live.com"_qs, u"live.de"_qs, u"live.at"_qs, u"msn.com"_qs,
          u"windowslive.com"_qs},
         u"smtp-mail.outlook.com"_qs,
         587,
         Security::StartTls,
         u"Outlook.com (auch Hotmail und Live) nimmt beim Versand aus Programmen keine Passwörter mehr an, "
         "nur die Microsoft-Anmeldung im Browser, die Zettelwerk nicht beherrscht; bitte senden Sie über "
         "eine Adresse eines anderen Anbieters."_qs},
        {u"iCloud"_qs,
         {u"icloud.com"_qs, u"me.com"_qs, u"mac.com"_qs},
         u"smtp.mail.me.com"_qs,
         587,
         Security::StartTls,
         u"Apple nimmt hier nur ein app-spezifisches Passwort an, das Sie in Ihrem Apple-Account unter "
         "„Anmeldung und Sicherheit“ erstellen, nicht Ihr Apple-Passwort."_qs},
        {u"Yahoo"_qs,
         {u"yahoo.com"_qs, u"yahoo.de"_qs, u"yahoo.co.uk"_qs, u"yahoo.fr"_qs, u"ymail.com"_qs,
          u"rocketmail.com"_qs},
         u"smtp.mail.yahoo.com"_qs,
         465,
         Security::ImplicitTls,
         yahooKind.arg(u"Yahoo"_qs)},
        {u"AOL"_qs,
         {u"aol.com"_qs, u"aol.de"_qs},
         u"smtp.aol.com"_qs,
         465,
         Security::ImplicitTls,
         yahooKind.arg(u"AOL"_qs)},
        {u"IONOS"_qs,
         {u"ionos.de"_qs},
         u"smtp.ionos.de"_qs,
         587,
         Security::StartTls,
         {},
         0,
         0,
         accountAge.arg(u"IONOS"_qs)},
        // 1&1's own mail (the DSL customers' addresses) went with 1&1, not with IONOS, when the two parted.
        {u"1&1"_qs,
         {u"1und1.de"_qs, u"online.de"_qs, u"onlinehome.de"_qs},
         u"smtp.1und1.de"_qs,
         587,
         Security::StartTls,
         {},
         0,
         0,
         accountAge.arg(u"1&1"_qs)},
        {u"freenet"_qs,
         {u"freenet.de"_qs},
         u"mx.freenet.de"_qs,
         587,
         Security::StartTls,
         u"Bei freenet muss der Versand aus E-Mail-Programmen einmal in den Einstellungen des Postfachs "
         "unter „POP3/IMAP/SMTP“ eingeschaltet werden."_qs},
        // Sending services for lists that outgrow a mailbox: their SMTP relays take the same campaign.
        // The sender's domain must be confirmed with each of them first (their DNS entries).
        relayService(u"Amazon SES"_qs, u"email-smtp.eu-central-1.amazonaws.com"_qs,
                     u"der SMTP-Benutzername von Amazon SES (beginnt mit „AKIA“), nicht der AWS-Zugang"_qs,
                     u"in der Konsole von Amazon SES unter „SMTP settings“, „Create SMTP credentials“; der "
                     "Server nennt die Region, hier Frankfurt"_qs,
                     0,
                     u"Amazon legt die Grenzen je Konto fest: neue Konten senden nur an bestätigte Adressen, "
                     "bis Amazon das Konto freigibt."_qs),
        relayService(u"Brevo"_qs, u"smtp-relay.brevo.com"_qs,
                     u"der SMTP-Login von Brevo (eine Adresse bei smtp-brevo.com)"_qs,
                     u"bei Brevo unter „SMTP & API“, Reiter „SMTP“ (SMTP-Schlüssel erzeugen)"_qs, 0,
                     u"Im kostenlosen Tarif 300 Nachrichten am Tag."_qs),
        relayService(u"Mailjet"_qs, u"in-v3.mailjet.com"_qs,
                     u"der API-Schlüssel von Mailjet; das Passwort ist der geheime Schlüssel"_qs,
                     u"bei Mailjet unter „Kontoeinstellungen“, „API-Schlüsselverwaltung“"_qs, 0,
                     u"Im kostenlosen Tarif 200 Nachrichten am Tag."_qs),
        relayService(u"Postmark"_qs, u"smtp.postmarkapp.com"_qs,
                     u"das Server-API-Token von Postmark; das Passwort ist dasselbe Token"_qs,
                     u"bei Postmark im Server unter „API Tokens“"_qs, 0, {}),
        relayService(u"SMTP2GO"_qs, u"mail.smtp2go.com"_qs,
                     u"ein SMTP-Benutzer, den Sie bei SMTP2GO anlegen"_qs,
                     u"bei SMTP2GO unter „Sending“, „SMTP Users“"_qs, 0,
                     u"Im kostenlosen Tarif 1000 Nachrichten im Monat, höchstens 200 am Tag."_qs),
    };
}

}  // namespace

const QList<Provider>& knownProviders() {
    static const QList<Provider> table = buildTable();
    return table;
}

std::optional<Provider> providerForAddress(const QString& address) {
    const qsizetype at = address.lastIndexOf(u'@');
    if (at < 0)
        return std::nullopt;
    const QString domain = address.mid(at + 1).trimmed().toLower();
    for (const Provider& provider : knownProviders())
        if (provider.domains.contains(domain))
            return provider;
    return std::nullopt;
}

std::optional<Provider> providerForServer(const QString& server, const QString& address) {
    const QString host = server.trimmed();
    const std::optional<Provider> own = providerForAddress(address);
    if (own && own->server.compare(host, Qt::CaseInsensitive) == 0)
        return own;
    std::optional<Provider> found;
    for (const Provider& provider : knownProviders())
        if (provider.server.compare(host, Qt::CaseInsensitive) == 0 && (!found || provider.domains.isEmpty()))
            found = provider;
    return found;
}

QString senderDomainWarning(const SenderProfile& profile) {
    const std::optional<Provider> owner = providerForAddress(profile.address);
    const std::optional<Provider> server = providerForServer(profile.server, profile.address);
    if (!owner || !server || owner->server.compare(server->server, Qt::CaseInsensitive) == 0)
        return {};
    return QStringLiteral(
               "Achtung: Die Absenderadresse gehört zu %1, gesendet wird aber über den Server von %2. Die "
               "Empfänger prüfen, ob eine Adresse bei %1 von diesem Server kommen darf (SPF, DKIM, DMARC); "
               "solche Nachrichten landen oft im Spam oder werden abgelehnt. Senden Sie über %3 oder mit "
               "einer Absenderadresse, die zu %2 gehört.")
        .arg(owner->name, server->name, owner->server);
}

}  // namespace zw::send
