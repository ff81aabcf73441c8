#include "send/Providers.h"

namespace zw::send {

namespace {

// The submission servers as the providers publish them for mail programs. Where a provider offers
// both, STARTTLS on 587 is taken, except where the provider names implicit TLS first.
QList<Provider> buildTable() {
    const QString allowAccess = QStringLiteral(
        "Bei %1 muss der Zugriff über POP3 und IMAP einmal in den E-Mail-Einstellungen des Postfachs "
        "erlaubt werden, sonst nimmt der Server keine Anmeldung von Programmen an.");
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
         "Schritten“, „App-Passwörter“), nicht Ihr normales Passwort."_qs},
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
        {u"IONOS"_qs, {u"ionos.de"_qs}, u"smtp.ionos.de"_qs, 587, Security::StartTls, {}},
        // 1&1's own mail (the DSL customers' addresses) went with 1&1, not with IONOS, when the two parted.
        {u"1&1"_qs,
         {u"1und1.de"_qs, u"online.de"_qs, u"onlinehome.de"_qs},
         u"smtp.1und1.de"_qs,
         587,
         Security::StartTls,
         {}},
        {u"freenet"_qs,
         {u"freenet.de"_qs},
         u"mx.freenet.de"_qs,
         587,
         Security::StartTls,
         u"Bei freenet muss der Versand aus E-Mail-Programmen einmal in den Einstellungen des Postfachs "
         "unter „POP3/IMAP/SMTP“ eingeschaltet werden."_qs},
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

}  // namespace zw::send
