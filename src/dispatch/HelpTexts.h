#pragma once

#include <QString>

namespace zw {

// How a failed hand-off to the desktop is reported. The texts are the program's own, in English, and
// differ on purpose: the mail-client text also stands for web pages opened from the about box.
inline const QString kBrowserFailure =
    QStringLiteral("Unable to start internet browser! Make sure you have it properly set-up on your system!");
inline const QString kProgramFailure =
    QStringLiteral("Unable to start program! Make sure you have it properly set-up on your system!");
inline const QString kMailClientFailure =
    QStringLiteral("Unable to start mail client. Make sure you have it properly set-up on your system.");
// The single mail's own wording of the same failure ends in "!".
inline const QString kSingleMailFailure =
    QStringLiteral("Unable to start mail client. Make sure you have it properly set-up on your system!");

// Marker files in the program folder, empty and tested only for existence.
inline const QString kNoTipMarker = QStringLiteral("NoTip.ini");
inline const QString kNoShowcaseMarker = QStringLiteral("NoWer.ini");

}  // namespace zw
