#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "render/Fields.h"
#include "template/NewsletterTemplate.h"

namespace zw::cli {

// What the command line asked for.
struct RenderOptions {
    QString programFolder;  // empty: the program folder Zettelwerk itself would use
    QString date;
    bool dateGiven = false;  // otherwise today's date
    QString templatePath;
    QString outputPath;
    bool help = false;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitRenderFailed = 1;
inline constexpr int kExitUsage = 2;

// Reads the arguments (without the program name). Returns an empty text, or the German reason why the
// arguments cannot be used.
QString parseArguments(const QStringList& arguments, RenderOptions& options);

// The German usage text.
QString usageText();

// Loads the template as the program loads one and writes its message. Warnings and errors go to
// standard error; returns the exit status. loaded, when given, receives the template's settings;
// fields, when given, the personal fields, whose markers the message then keeps (for a sending).
int renderTemplate(const RenderOptions& options, const QString& executableFolder,
                   TemplateSettings* loaded = nullptr, FieldSet* fields = nullptr);

// The program folder the command-line tools use: the one given, or the one Zettelwerk itself uses.
QString commandProgramFolder(const QString& given, const QString& executableFolder);

// Takes the option "--name VALUE" or "--name=VALUE" at arguments[i] into value, moving i past it.
// False when arguments[i] is another option; problem says what is wrong when the value is missing.
bool takeValue(const QStringList& arguments, qsizetype& i, const QString& name, QString& value, QString& problem);

// The shape both tools' command lines share: "--" ends the options, "--help" and "-h" ask for the
// usage, a lone "-" and every argument not starting with "-" is positional. Every other option goes to
// option(i), which takes it (moving i past its value) and returns an empty text or why it cannot be
// used; the first such reason ends the walk.
QString walkArguments(const QStringList& arguments, QStringList& positional, bool& help,
                      const std::function<QString(qsizetype& i)>& option);

// Writes a line of text to standard error at once.
void printError(const QString& text);

}  // namespace zw::cli
