#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zw {

// Hands files, addresses and programs to the desktop: what the Windows shell's "open" did. Programs
// are started detached from the window, with their arguments as they are, never through a shell.
//
// The outcome is reported once through `done`: false when the program cannot be started or ends with
// an error within the grace period; true when it ends successfully or is still running then (xdg-open
// may wait for the mail program). The window goes on meanwhile; `done` may run before the call returns.
class Launcher : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(bool started)>;
    static constexpr int kGracePeriodMs = 2000;

    explicit Launcher(QObject* parent = nullptr);
    ~Launcher() override;

    // Opens an existing local file or an http, https or mailto address with the desktop's program for
    // it (xdg-open). A missing file is a failed start; any other kind of target is refused with a
    // German zw::Error before anything is started.
    void open(const QString& target, Done done);

    // Starts a program, found on PATH unless given with its folder.
    void start(const QString& program, const QStringList& arguments, Done done,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    // Programs started and not yet ended.
    int running() const;
};

// True for the addresses the launcher hands on: http, https and mailto.
bool isOpenableAddress(const QString& target);

// Asks the desktop which program opens files of mimeType (`xdg-mime query default`), waiting a few
// seconds at most: the name of its desktop entry, empty when none is set; nothing when the desktop
// cannot be asked.
std::optional<QString> defaultApplication(const QString& mimeType);

}  // namespace zw
