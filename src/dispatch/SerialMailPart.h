#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QString>

#include <functional>

#include "template/Session.h"

namespace zw {

class Launcher;
class Prompts;

// The serial-mail program is a Windows program run with Wine: "c:\" is the drive_c folder of the Wine
// prefix ($WINEPREFIX, else ~/.wine).
QString winePrefix(const QProcessEnvironment& environment);

// The Windows path of the serial-mail program found under driveC, or empty. The three installation
// folders are searched in a fixed order, folder and file names without regard to case as on Windows;
// a later match replaces an earlier one, so an "Enterprise Client" installation wins.
QString findSerialMailProgram(const QString& driveC);

// Hands the newsletter to the serial-mail program: the message is written into the documents folder,
// the user is told which file to open, and the program is started; without it, its web page is offered.
class SerialMailPart : public QObject {
    Q_OBJECT
public:
    // commit stores the block being edited; render writes the message of the window's template to a path.
    SerialMailPart(TemplateSession& session, Prompts& prompts, Launcher& launcher, QString webPage,
                   std::function<void()> commit, std::function<void(const QString&)> render,
                   QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
                   QObject* parent = nullptr);

    void StartSerialMail();
    // The documents folder + the first word of the template's file name + ".eml": the file saving writes.
    QString SerialMailFile() const;

Q_SIGNALS:
    // The outcome of a start of the program or of its web page, once it is known.
    void launched(bool started);

private:
    void report(bool started, const QString& failure);

    TemplateSession& session_;
    Prompts& prompts_;
    Launcher& launcher_;
    QString webPage_;
    std::function<void()> commit_;
    std::function<void(const QString&)> render_;
    QProcessEnvironment environment_;
};

}  // namespace zw
