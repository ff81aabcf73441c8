#include "dispatch/MailProgram.h"

#include <QDir>

#include "platform/Launcher.h"

namespace zw {

namespace {

// Programs a desktop may name for message files that show or import them but never open one as a
// new message: mail programs of their own mind, and text editors. Known by the start of the desktop
// entry's name, in small letters.
struct Ignoring {
    const char* entryStart;
    const char* name;
};
constexpr Ignoring kIgnoring[] = {
    {"evolution", "Evolution"},
    {"org.gnome.evolution", "Evolution"},
    {"kmail", "KMail"},
    {"org.kde.kmail", "KMail"},
    {"geary", "Geary"},
    {"org.gnome.geary", "Geary"},
    {"claws-mail", "Claws Mail"},
    {"sylpheed", "Sylpheed"},
    {"mutt", "Mutt"},
    {"neomutt", "NeoMutt"},
    {"gedit", "gedit"},
    {"org.gnome.gedit", "gedit"},
    {"org.gnome.texteditor", "Texteditor"},
    {"kate", "Kate"},
    {"org.kde.kate", "Kate"},
    {"kwrite", "KWrite"},
    {"org.kde.kwrite", "KWrite"},
    {"mousepad", "Mousepad"},
    {"org.xfce.mousepad", "Mousepad"},
    {"pluma", "Pluma"},
    {"xed", "Xed"},
};

}  // namespace

MailProgram judgeMailProgram(bool asked, const QString& desktopEntry) {
    MailProgram program;
    program.asked = asked;
    program.desktopEntry = desktopEntry.trimmed();
    if (!asked)
        return program;
    if (program.desktopEntry.isEmpty()) {
        program.opensAsNewMessage = false;
        return program;
    }
    const QString entry = program.desktopEntry.toLower();
    for (const Ignoring& ignoring : kIgnoring) {
        if (entry.startsWith(QLatin1String(ignoring.entryStart))) {
            program.name = QString::fromUtf8(ignoring.name);
            program.opensAsNewMessage = false;
            break;
        }
    }
    return program;
}

MailProgram desktopMailProgram() {
    const std::optional<QString> entry = defaultApplication(QStringLiteral("message/rfc822"));
    return judgeMailProgram(entry.has_value(), entry.value_or(QString()));
}

QString singleMailNotice(const MailProgram& program, const QString& messagePath, bool offerTestMail) {
    QString text =
        program.desktopEntry.isEmpty()
            ? QStringLiteral(
                  "Auf diesem Desktop ist kein Mailprogramm für E-Mail-Dateien (.eml) eingestellt, "
                  "das die Nachricht als neue E-Mail öffnen könnte.")
            : QStringLiteral(
                  "%1, das Programm Ihres Desktops für E-Mail-Dateien (.eml), öffnet die Nachricht "
                  "nicht als neue E-Mail zum Absenden, sondern zeigt oder importiert sie nur.")
                  .arg(program.name.isEmpty() ? program.desktopEntry : program.name);
    text += QStringLiteral("\n\nDie Nachricht liegt hier:\n%1").arg(QDir::toNativeSeparators(messagePath));
    if (offerTestMail)
        text += QStringLiteral(
            "\n\nMit „Testmail an mich senden“ schickt Zettelwerk sie stattdessen über Ihren "
            "Mailserver an Ihre eigene Adresse.");
    return text;
}

}  // namespace zw
