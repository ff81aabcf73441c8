#pragma once

#include <QString>

#include "template/Session.h"

namespace zw {

// The files in the program folder that remember things between runs.
inline const QString kDefaultTemplate = QStringLiteral("Zettelwerk_Vorlage.nld");
inline const QString kBlankTemplate = QStringLiteral("NEW.nld");
inline const QString kRevertCopy = QStringLiteral("Old.nld");
inline const QString kLastFile = QStringLiteral("LastFile.ini");
inline const QString kCopyMarker = QStringLiteral("Copy.ini");
inline const QString kVersionFile = QStringLiteral("Ver.ini");

// Which template start-up loads: the one "LastFile.ini" names when that file exists (it then is also
// the save name), else the default template with no save name. An empty "LastFile.ini" counts as
// missing. A last template of more than 999 blocks is left alone: the default template is loaded and
// refusal says why.
struct StartTemplate {
    QString currentPath;
    QString savePath;
    QString refusal;
};
// requested: the template named on the command line, taken in place of the last one when it can be
// opened; when it cannot, the refusal says why and the last one is taken.
StartTemplate resolveStartTemplate(const Folders& folders, const QString& requested = {});

// Takes the revert copy "Old.nld" of a template. A failed copy is ignored, as before: the template
// itself is not harmed by it.
void takeRevertCopy(const Folders& folders, const QString& templatePath);

// Writes "LastFile.ini" with the one line templatePath.
void rememberLastFile(const Folders& folders, const QString& templatePath);

// First run: copies the shipped templates to the documents folder, never replacing a file there, unless
// "Copy.ini" says it was done; then marks it done by copying "Ver.ini" to "Copy.ini".
void copyShippedTemplatesOnce(const Folders& folders);

// The first line of "Ver.ini", or empty when it cannot be read.
QString readVersionText(const Folders& folders);

// The message file written beside the user's documents when a template is saved: the documents folder
// + the first word of the template's file name + ".eml" ("Mein.Newsletter.nld" gives "Mein.eml").
QString messagePathFor(const Folders& folders, const QString& templatePath);

// The window caption: product title + " [" + file name of the template + "]".
QString windowCaption(const QString& productTitle, const QString& templatePath);

}  // namespace zw
