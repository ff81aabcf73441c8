#include "send/SenderProfile.h"

#include <QDir>
#include <QFileInfo>

#include <tuple>

#include "platform/FileIo.h"

namespace zw::send {

namespace {

// The file is one section of "key=value" lines in UTF-8, readable and editable by hand.
constexpr char kSection[] = "[Absender]";

struct SecurityWord {
    Security security;
    const char* word;
};
constexpr SecurityWord kSecurityWords[] = {
    {Security::StartTls, "STARTTLS"},
    {Security::ImplicitTls, "SSL/TLS"},
    {Security::None, "keine"},
};

// A value is one line: what would start another line (or a header line in a message) becomes a blank.
QString valueLine(QString value) {
    for (QChar& c : value)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return value.trimmed();
}

// A number as written, or the default for a hand-edited value that is none or out of range.
int number(const QString& text, int fallback, int lowest, int highest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= lowest && value <= highest ? value : fallback;
}

Security securityOf(const QString& value, Security fallback) {
    for (const SecurityWord& word : kSecurityWords)
        if (value.compare(QLatin1String(word.word), Qt::CaseInsensitive) == 0)
            return word.security;
    return fallback;
}

QString securityWord(Security security) {
    for (const SecurityWord& word : kSecurityWords)
        if (word.security == security)
            return QLatin1String(word.word);
    return {};
}

}  // namespace

bool SenderProfile::isComplete() const {
    return !address.trimmed().isEmpty() && !server.trimmed().isEmpty() && port > 0 && port <= 65535;
}

QString profilePath(const QString& workFolder) {
    return QDir(workFolder).filePath(QLatin1String(kProfileFileName));
}

SenderProfile loadProfile(const QString& path) {
    SenderProfile profile;
    if (!QFileInfo::exists(path))
        return profile;
    for (const QByteArray& rawLine : splitLines(readFile(path))) {
        const QString line = QString::fromUtf8(rawLine);
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = valueLine(line.mid(equals + 1));
        if (key == u"Name")
            profile.name = value;
        else if (key == u"Adresse")
            profile.address = value;
        else if (key == u"Server")
            profile.server = value;
        else if (key == u"Port")
            profile.port = number(value, profile.port, 1, 65535);
        else if (key == u"Sicherheit")
            profile.security = securityOf(value, profile.security);
        else if (key == u"Benutzer")
            profile.user = value;
        else if (key == u"NachrichtenProMinute")
            profile.messagesPerMinute = number(value, 0, 0, 1000000);
        else if (key == u"NachrichtenProStunde")
            profile.messagesPerHour = number(value, 0, 0, 10000000);
        else if (key == u"NachrichtenProTag")
            profile.messagesPerDay = number(value, 0, 0, 10000000);
        else if (key == u"CADatei")
            profile.caFile = value;
        else if (key == u"EinKlickAbmeldung")
            profile.oneClickUnsubscribe = value == u"1";
        else if (key == u"IMAPServer")
            profile.imapServer = value;
        else if (key == u"IMAPPort")
            profile.imapPort = number(value, profile.imapPort, 1, 65535);
        else if (key == u"IMAPSicherheit")
            profile.imapSecurity = securityOf(value, profile.imapSecurity);
        else if (key == u"IMAPBenutzer")
            profile.imapUser = value;
        else if (key == u"ZeitlimitVerbindung")
            profile.connectTimeout = number(value, profile.connectTimeout, 1, 3600);
        else if (key == u"ZeitlimitAntwort")
            profile.answerTimeout = number(value, profile.answerTimeout, 1, 3600);
        else if (key == u"ZeitlimitNachricht")
            profile.dataEndTimeout = number(value, profile.dataEndTimeout, 1, 7200);
    }
    return profile;
}

void saveProfile(const SenderProfile& profile, const QString& path) {
    const QString security = securityWord(profile.security);
    const std::pair<const char*, QString> values[] = {
        {"Name", profile.name},
        {"Adresse", profile.address},
        {"Server", profile.server},
        {"Port", QString::number(profile.port)},
        {"Sicherheit", security},
        {"Benutzer", profile.user},
        {"NachrichtenProMinute", QString::number(profile.messagesPerMinute)},
        {"CADatei", profile.caFile},
        {"EinKlickAbmeldung", profile.oneClickUnsubscribe ? u"1"_qs : u"0"_qs},
    };
    QList<QByteArray> lines = {kSection};
    auto put = [&lines](const auto& pairs) {
        for (const auto& [key, value] : pairs)
            lines.append(QByteArray(key) + '=' + valueLine(value).toUtf8());
    };
    put(values);
    // The hourly and daily limits only where set: a profile without them stays as it was.
    if (profile.messagesPerHour > 0)
        lines.append("NachrichtenProStunde=" + QByteArray::number(profile.messagesPerHour));
    if (profile.messagesPerDay > 0)
        lines.append("NachrichtenProTag=" + QByteArray::number(profile.messagesPerDay));
    // Written only when set, so that a profile without an incoming server stays as it was.
    if (!profile.imapServer.isEmpty()) {
        const std::pair<const char*, QString> incoming[] = {
            {"IMAPServer", profile.imapServer},
            {"IMAPPort", QString::number(profile.imapPort)},
            {"IMAPSicherheit", securityWord(profile.imapSecurity)},
            {"IMAPBenutzer", profile.imapUser},
        };
        put(incoming);
    }

    // The time limits only where changed: nearly nobody needs other values than RFC 5321's.
    const SenderProfile usual;
    for (const auto& [key, value, standard] :
         {std::tuple("ZeitlimitVerbindung", profile.connectTimeout, usual.connectTimeout),
          std::tuple("ZeitlimitAntwort", profile.answerTimeout, usual.answerTimeout),
          std::tuple("ZeitlimitNachricht", profile.dataEndTimeout, usual.dataEndTimeout)}) {
        if (value != standard)
            lines.append(QByteArray(key) + '=' + QByteArray::number(value));
    }

    // Private: no password is in it, so where a folder keeps no permissions nothing secret lies open.
    writePrivateFile(path, joinLines(lines));
}

}  // namespace zw::send
