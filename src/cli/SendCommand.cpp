#include "cli/SendCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/InboxCommand.h"
#include "cli/RenderCommand.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Platform.h"
#include "send/BlockList.h"
#include "send/Campaign.h"
#include "send/CampaignTexts.h"
#include "send/FieldColumns.h"
#include "send/OutgoingMessage.h"
#include "send/PasswordStore.h"
#include "send/RecipientList.h"
#include "send/SenderProfile.h"
#include "send/SmtpTransport.h"

namespace zw::cli {

using namespace zw::send;

namespace {

constexpr char kPasswordVariable[] = "ZETTELWERK_SMTP_PASSWORD";

// The password for the profile's login: the environment (for scripts), the secret store, or asked
// for on the terminal. Kept in memory only.
std::optional<QString> findPassword(const SenderProfile& profile) {
    if (profile.user.isEmpty())
        return QString();
    if (qEnvironmentVariableIsSet(kPasswordVariable))
        return qEnvironmentVariable(kPasswordVariable);
    KeychainPasswordStore store;
    if (store.available()) {
        if (std::optional<QString> stored = store.read(passwordAccount(profile.user, profile.server)))
            return stored;
    }
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::fprintf(stderr, "Passwort für %s bei %s: ", qPrintable(profile.user), qPrintable(profile.server));
    std::fflush(stderr);
    termios saved{};
    const bool echoOff = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (echoOff) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fputs("\n", stderr);
    return QString::fromStdString(line);
}

SenderProfile readSenderProfile(const SendOptions& options, const QString& programFolder) {
    const QString path = options.profilePath.isEmpty() ? profilePath(programFolder) : options.profilePath;
    if (!options.profilePath.isEmpty() && !QFileInfo::exists(path))
        throw Error(QStringLiteral("Das Absenderprofil \"%1\" gibt es nicht.").arg(path));
    SenderProfile profile = loadProfile(path);
    if (!profile.isComplete())
        throw Error(QStringLiteral("Absender und Server sind noch nicht eingerichtet (%1). In Zettelwerk: "
                                   "Versand → Absender und Server…")
                        .arg(QDir::toNativeSeparators(path)));
    return profile;
}

// The template rendered as Zettelwerk sends it, with its unsubscribe link.
Newsletter renderNewsletter(const SendOptions& options, const QString& programFolder,
                            const QString& exeFolder) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw Error(
            QStringLiteral("Der Arbeitsordner kann nicht angelegt werden. %1").arg(scratch.errorString()));
    RenderOptions render;
    render.programFolder = programFolder;
    render.date = todayShortDate();
    render.dateGiven = true;
    render.templatePath = options.templatePath;
    render.outputPath = scratch.filePath(QStringLiteral("newsletter.eml"));
    TemplateSettings settings;
    FieldSet fields;
    if (renderTemplate(render, exeFolder, &settings, &fields) != kExitOk)
        throw Error(
            QStringLiteral("Die Vorlage \"%1\" kann nicht gesendet werden.").arg(options.templatePath));
    return {readFile(render.outputPath), settings.UnsubscribeLink, fields};
}

// A bar on a terminal, otherwise a line every hundred messages.
class ProgressPrinter {
public:
    void operator()(const CampaignStatus& s) {
        // A server that kept silent or a connection that broke: said once, on a line of its own.
        if (!s.notice.isEmpty() && s.notice != lastNotice_) {
            lastNotice_ = s.notice;
            finish();
            dirty_ = false;
            printError(s.notice);
        }
        const qsizetype done = s.sent + s.failed;
        if (terminal_) {
            const int filled = s.total ? int(30 * done / s.total) : 30;
            std::fprintf(stderr, "\r[%s%s] %lld von %lld, %lld fehlgeschlagen  %-40.40s",
                         std::string(size_t(filled), '#').c_str(),
                         std::string(size_t(30 - filled), '-').c_str(), qlonglong(done), qlonglong(s.total),
                         qlonglong(s.failed), qPrintable(s.current));
            std::fflush(stderr);
            dirty_ = true;
        } else if (done / 100 != lastHundred_) {
            lastHundred_ = done / 100;
            printError(
                QStringLiteral("%1 von %2 gesendet, %3 fehlgeschlagen").arg(done).arg(s.total).arg(s.failed));
        }
    }
    // The waiting line, once per wait; the campaign carries on by itself when the wait is over.
    void waiting(const CampaignStatus& s) {
        if (!s.waitingUntil.isValid() || s.waitingUntil == lastWait_)
            return;
        lastWait_ = s.waitingUntil;
        finish();
        dirty_ = false;
        printError(waitingText(s));
    }
    void finish() {
        if (dirty_)
            std::fputs("\n", stderr);
    }

private:
    bool terminal_ = isatty(STDERR_FILENO);
    bool dirty_ = false;
    qsizetype lastHundred_ = 0;
    QDateTime lastWait_;
    QString lastNotice_;
};

int summarize(const CampaignStatus& s, const Campaign& campaign) {
    printError(countsText(s));
    if (s.maybeTwice > 0)
        printError(maybeTwiceText(s));
    if (!campaign.message().hasUnsubscribe())
        printError(noUnsubscribeText());
    printError(QStringLiteral("Bericht: %1").arg(QDir::toNativeSeparators(campaign.reportPath())));
    if (s.state != CampaignState::Finished) {
        printError(s.stopReason.isEmpty() ? QStringLiteral("Der Versand ist angehalten.") : s.stopReason);
        printError(QStringLiteral("Fortsetzen mit: zettelwerk-send --resume \"%1\"").arg(campaign.folder()));
        return kSendStopped;
    }
    return s.failed ? kSendSomeFailed : kSendAllSent;
}

int sendCampaign(Campaign& campaign, const std::atomic<bool>& stop) {
    const std::optional<QString> password = findPassword(campaign.profile());
    if (!password) {
        printError(
            QStringLiteral("Kein Passwort für den Server: Es ist weder im Schlüsselbund gespeichert noch "
                           "in %1 angegeben.")
                .arg(QLatin1String(kPasswordVariable)));
        return kSendStopped;
    }
    SmtpTransport transport(campaign.profile(), *password);
    ProgressPrinter progress;
    campaign.waiting = [&](const CampaignStatus& s) { progress.waiting(s); };
    const CampaignStatus status = campaign.run(transport, stop, std::ref(progress));
    progress.finish();
    return summarize(status, campaign);
}

// Each recipient's message as a file of its own, named by its number and address.
int dryRun(const Newsletter& newsletter, const RecipientList& list, const SenderProfile& profile,
           const QString& folder) {
    if (!QDir().mkpath(folder))
        throw fileCreateError(folder, errno);
    const OutgoingMessage message(newsletter);
    qsizetype n = 0;
    for (const Recipient& to : list.recipients) {
        QString name = to.address;
        for (QChar& c : name) {
            if (!c.isLetterOrNumber() && c != u'@' && c != u'.' && c != u'-' && c != u'+')
                c = u'_';
        }
        const FieldValues values = recipientFieldValues(list.columns, to);
        writeWorkingFile(
            QDir(folder).filePath(QStringLiteral("%1_%2.eml").arg(++n, 5, 10, QChar(u'0')).arg(name)),
            message.forRecipient(to, profile, QDateTime::currentDateTime(), &values));
    }
    printError(
        QStringLiteral("%1 Nachrichten nach %2 geschrieben.").arg(n).arg(QDir::toNativeSeparators(folder)));
    return kSendAllSent;
}

void reportRejected(const RecipientList& list, const QString& which) {
    for (const RejectedRow& row : list.rejected)
        printError(QStringLiteral("%1, Zeile %2 nicht übernommen (%3): %4")
                       .arg(which)
                       .arg(row.line)
                       .arg(row.reason, row.text));
}

// The password of the incoming server: its own when it has its own login, else the one for sending.
std::optional<QString> findInboxPassword(const SenderProfile& profile) {
    if (qEnvironmentVariableIsSet("ZETTELWERK_IMAP_PASSWORD"))
        return qEnvironmentVariable("ZETTELWERK_IMAP_PASSWORD");
    if (profile.imapUser.isEmpty() || profile.imapUser == profile.user)
        return findPassword(profile);
    SenderProfile incoming = profile;
    incoming.user = profile.imapUser;
    incoming.server = profile.imapServer;
    return findPassword(incoming);
}

int run(const SendOptions& options, const QString& exeFolder, const std::atomic<bool>& stop) {
    const QString programFolder = commandProgramFolder(options.programFolder, exeFolder);
    if (options.mode == SendOptions::Mode::Block || options.mode == SendOptions::Mode::Unblock)
        return changeBlockList(programFolder, options.address, options.mode == SendOptions::Mode::Block);
    if (options.mode == SendOptions::Mode::Inbox) {
        const QString path = options.profilePath.isEmpty() ? profilePath(programFolder) : options.profilePath;
        return checkInboxCommand(programFolder, loadProfile(path), options.apply, findInboxPassword);
    }
    if (options.mode == SendOptions::Mode::Resume) {
        Campaign campaign = Campaign::open(options.campaignFolder);
        return sendCampaign(campaign, stop);
    }
    const SenderProfile profile = readSenderProfile(options, programFolder);
    const Newsletter newsletter = renderNewsletter(options, programFolder, exeFolder);

    if (options.mode == SendOptions::Mode::Test) {
        const std::optional<QString> password = findPassword(profile);
        if (!password)
            throw Error(QStringLiteral("Kein Passwort für den Server angegeben."));
        const OutgoingMessage message(newsletter);
        SmtpTransport transport(profile, *password);
        transport.setStop(&stop);
        const Recipient me{profile.address, profile.name, 0, {}};
        const SendResult result = transport.send(
            me.address.toUtf8(), message.forRecipient(me, profile, QDateTime::currentDateTime()));
        printError(result.message.isEmpty() ? result.serverText : result.message);
        return result.outcome == Outcome::Sent    ? kSendAllSent
               : result.outcome == Outcome::Fatal ? kSendStopped
                                                  : kSendSomeFailed;
    }

    RecipientList list = readRecipientFile(options.listPath);
    if (!options.excludePath.isEmpty()) {
        // An entry of the exclusion list that is no address excludes nobody: the user must see it.
        const RecipientList excluded = readRecipientFile(options.excludePath);
        reportRejected(excluded, QStringLiteral("Sperrliste"));
        applyExclusions(list, excluded);
    }
    reportRejected(list, QStringLiteral("Liste"));
    // The fields as the check page names them; a script has nobody to confirm a missing one, so it is
    // said here and the sending goes on with the fallbacks.
    for (const QString& line : fieldReportLines(fieldUses(newsletter.fields, list))) printError(line);
    // The lasting block list holds whoever bounced for good or asked to leave: never sent to again.
    const QList<BlockedRecipient> blocked =
        leaveOutBlocked(list, BlockList::load(blockListPath(programFolder)));
    if (!blocked.isEmpty())
        printError(blockedCountText(blocked.size()) + u':');
    for (const BlockedRecipient& b : blocked)
        printError(QStringLiteral("  %1 (%2)").arg(b.recipient.address, b.entry.reason));
    if (list.recipients.isEmpty()) {
        printError(QStringLiteral("Die Liste \"%1\" enthält keine Adresse, an die gesendet werden kann.")
                       .arg(options.listPath));
        return kSendStopped;
    }
    if (!options.dryRunFolder.isEmpty())
        return dryRun(newsletter, list, profile, options.dryRunFolder);
    Campaign campaign = Campaign::create(programFolder, newsletter, list, profile);
    printError(QStringLiteral("Versand: %1 Empfänger, Ordner %2")
                   .arg(list.recipients.size())
                   .arg(QDir::toNativeSeparators(campaign.folder())));
    return sendCampaign(campaign, stop);
}

}  // namespace

QString sendUsageText() {
    return QStringLiteral(
        "Aufruf: zettelwerk-send [--program-folder ORDNER] [--profile DATEI] [--exclude DATEI]\n"
        "                        [--dry-run ORDNER] VORLAGE LISTE\n"
        "        zettelwerk-send --resume VERSANDORDNER\n"
        "        zettelwerk-send --test VORLAGE\n"
        "        zettelwerk-send --block ADRESSE | --unblock ADRESSE\n"
        "        zettelwerk-send --inbox [--apply]\n"
        "\n"
        "Sendet den Newsletter der Vorlage VORLAGE (.nld) an jede Adresse der Liste LISTE (CSV oder Text)\n"
        "über den SMTP-Server des Absenderprofils. Jeder Versand hat einen Ordner unter \"Versand\" im\n"
        "Programmordner; ein unterbrochener Versand wird mit --resume fortgesetzt.\n"
        "\n"
        "  --program-folder ORDNER  Programmordner (Vorgabe: der Programmordner von Zettelwerk)\n"
        "  --profile DATEI          Absenderprofil (Vorgabe: \"Absender.ini\" im Programmordner)\n"
        "  --exclude DATEI          Sperrliste: diese Adressen erhalten nichts\n"
        "  --dry-run ORDNER         schreibt die Nachrichten als .eml-Dateien in ORDNER, statt zu senden\n"
        "  --resume VERSANDORDNER   setzt einen angehaltenen oder unterbrochenen Versand fort\n"
        "  --test VORLAGE           sendet eine Nachricht an die eigene Absenderadresse\n"
        "  --block ADRESSE          setzt ADRESSE auf die Sperrliste (\"Sperrliste.csv\" im "
        "Programmordner);\n"
        "                           niemand auf der Sperrliste erhält je wieder einen Newsletter\n"
        "  --unblock ADRESSE        nimmt ADRESSE von der Sperrliste\n"
        "  --inbox                  liest den Posteingang (nur lesend) auf Rückläufer und Abmeldungen\n"
        "  --apply                  mit --inbox: setzt die vorgeschlagenen Adressen auf die Sperrliste\n"
        "  --help                   zeigt diese Hilfe\n"
        "\n"
        "Das Passwort kommt aus dem Schlüsselbund der Arbeitsumgebung oder aus der Umgebungsvariablen\n"
        "ZETTELWERK_SMTP_PASSWORD; sonst wird es erfragt. Strg+C hält den Versand an.\n"
        "\n"
        "Rückgabewert: 0 wenn jeder Empfänger die Nachricht erhalten hat, 1 wenn einige fehlschlugen\n"
        "(der Bericht nennt sie), 2 bei einem falschen Aufruf, 3 wenn der Versand nicht beginnen konnte\n"
        "oder angehalten wurde (Anmeldung abgelehnt, Zertifikat, Strg+C).\n");
}

QString parseSendArguments(const QStringList& arguments, SendOptions& options) {
    QStringList positional;
    bool inbox = false;
    const QString problem = walkArguments(arguments, positional, options.help, [&](qsizetype& i) {
        if (arguments[i] == QLatin1String("--test")) {
            options.mode = SendOptions::Mode::Test;
            return QString();
        }
        if (arguments[i] == QLatin1String("--inbox") || arguments[i] == QLatin1String("--apply")) {
            (arguments[i] == QLatin1String("--apply") ? options.apply : inbox) = true;
            return QString();
        }
        for (const auto& [name, mode] : {std::pair("--block", SendOptions::Mode::Block),
                                         std::pair("--unblock", SendOptions::Mode::Unblock)}) {
            QString problem;
            if (!takeValue(arguments, i, QLatin1String(name), options.address, problem))
                continue;
            options.mode = mode;
            return problem.isEmpty() && options.address.isEmpty()
                       ? QStringLiteral("Die Option %1 braucht eine Adresse.").arg(QLatin1String(name))
                       : problem;
        }
        const std::pair<const char*, QString*> valued[] = {{"--program-folder", &options.programFolder},
                                                           {"--profile", &options.profilePath},
                                                           {"--exclude", &options.excludePath},
                                                           {"--dry-run", &options.dryRunFolder},
                                                           {"--resume", &options.campaignFolder}};
        for (const auto& [name, target] : valued) {
            QString problem;
            if (!takeValue(arguments, i, QLatin1String(name), *target, problem))
                continue;
            if (problem.isEmpty() && target->isEmpty())
                return QStringLiteral("Die Option %1 braucht einen Wert.").arg(QLatin1String(name));
            return problem;
        }
        return QStringLiteral("Unbekannte Option \"%1\".").arg(arguments[i]);
    });
    if (!problem.isEmpty())
        return problem;
    if (options.help)
        return {};
    if (options.apply && !inbox)
        return QStringLiteral("--apply gilt nur mit --inbox.");
    if (inbox || options.mode == SendOptions::Mode::Block || options.mode == SendOptions::Mode::Unblock) {
        if (!positional.isEmpty() || !options.campaignFolder.isEmpty() ||
            (inbox && options.mode != SendOptions::Mode::Campaign))
            return QStringLiteral("--inbox, --block und --unblock stehen jeweils für sich allein.");
        if (inbox)
            options.mode = SendOptions::Mode::Inbox;
        return {};
    }
    if (!options.campaignFolder.isEmpty()) {
        if (options.mode == SendOptions::Mode::Test || !positional.isEmpty())
            return QStringLiteral("--resume nimmt nur den Versandordner.");
        options.mode = SendOptions::Mode::Resume;
        return QFileInfo(options.campaignFolder).isDir()
                   ? QString()
                   : QStringLiteral("Den Versandordner \"%1\" gibt es nicht.").arg(options.campaignFolder);
    }
    const qsizetype wanted = options.mode == SendOptions::Mode::Test ? 1 : 2;
    if (positional.size() != wanted)
        return options.mode == SendOptions::Mode::Test
                   ? QStringLiteral("--test nimmt genau eine Vorlage.")
                   : QStringLiteral("Vorlage und Liste müssen angegeben werden.");
    options.templatePath = positional[0];
    if (wanted == 2)
        options.listPath = positional[1];
    if (!options.programFolder.isEmpty() && !QFileInfo(options.programFolder).isDir())
        return QStringLiteral("Der Programmordner \"%1\" existiert nicht.").arg(options.programFolder);
    return {};
}

int runSend(const SendOptions& options, const QString& executableFolder, const std::atomic<bool>& stop) {
    try {
        return run(options, executableFolder, stop);
    } catch (const Error& error) {
        printError(error.message());
        return kSendStopped;
    } catch (const std::bad_alloc&) {
        printError(QStringLiteral("Für den Versand reicht der Arbeitsspeicher nicht aus."));
        return kSendStopped;
    }
}

}  // namespace zw::cli
