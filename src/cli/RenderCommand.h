#pragma once

#include <QString>
#include <QStringList>

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
// standard error; returns the exit status.
int renderTemplate(const RenderOptions& options, const QString& executableFolder);

}  // namespace zw::cli
