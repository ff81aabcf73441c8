#pragma once

#include <atomic>

#include <QString>
#include <QStringList>

namespace zw::cli {

// What the command line of zettelwerk-send asked for.
struct SendOptions {
    enum class Mode { Campaign, Resume, Test, Block, Unblock, Inbox } mode = Mode::Campaign;
    QString programFolder;  // empty: the program folder Zettelwerk itself would use
    QString profilePath;    // empty: the profile of the program folder
    QString excludePath;
    QString dryRunFolder;   // not empty: write the messages there instead of sending
    QString templatePath;
    QString listPath;
    QString campaignFolder;  // --resume
    QString address;         // --block, --unblock
    bool apply = false;      // --inbox --apply
    bool help = false;
};

inline constexpr int kSendAllSent = 0;
inline constexpr int kSendSomeFailed = 1;
inline constexpr int kSendUsage = 2;
inline constexpr int kSendStopped = 3;

// Reads the arguments (without the program name). Returns an empty text, or the German reason why the
// arguments cannot be used.
QString parseSendArguments(const QStringList& arguments, SendOptions& options);

QString sendUsageText();

// Runs what the options ask for; progress and messages go to standard error. stop pauses a campaign
// after the message in flight. Returns the exit status.
int runSend(const SendOptions& options, const QString& executableFolder, const std::atomic<bool>& stop);

}  // namespace zw::cli
