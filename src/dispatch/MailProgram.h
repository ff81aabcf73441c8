#pragma once

#include <QString>

namespace zw {

// What the desktop opens a message file with, and whether that program takes it as a new message to
// send (Thunderbird does, with the message's unsent mark; Evolution imports it instead).
struct MailProgram {
    bool asked = false;    // the desktop could be asked at all
    QString desktopEntry;  // e.g. "org.gnome.Evolution.desktop"; empty when none is set
    QString name;          // the program's name for the user, when it is one we know
    bool opensAsNewMessage = true;
};

// The verdict for the desktop's answer; nothing known (the desktop could not be asked) counts as a
// program that may well open it, and the hand-off tells.
MailProgram judgeMailProgram(bool asked, const QString& desktopEntry);
// Asks the desktop (`xdg-mime query default message/rfc822`) and judges its answer.
MailProgram desktopMailProgram();

// What the single mail says instead of handing the message on: why not, where the message lies, and,
// when offered, that the test mail can go instead.
QString singleMailNotice(const MailProgram& program, const QString& messagePath, bool offerTestMail);

}  // namespace zw
