#pragma once

#include <QDate>
#include <QString>

namespace zw {

// The services the program takes from the operating system. On Windows they were the registry, the
// shell and the system beep; here each is a small stand-in (see LinuxPlatform).
class Platform {
public:
    virtual ~Platform() = default;

    // The user's documents folder, or empty when it cannot be determined.
    virtual QString documentsFolder() = 0;
    // The folder that holds the program's working files and its shipped files.
    virtual QString programFolder() = 0;
    virtual void beep() = 0;
};

// What the Linux desktop offers. The beep needs the widget library, so the application supplies it.
class LinuxPlatform : public Platform {
public:
    explicit LinuxPlatform(QString executableFolder);

    QString documentsFolder() override;
    QString programFolder() override;
    void beep() override {}

private:
    QString executableFolder_;
    QString programFolder_;
};

// The marker file an installation puts beside the executable.
inline const QString kInstalledMarker = QStringLiteral("zettelwerk-installed");

// The program folder rule: the folder of the executable (a portable copy or the build tree), unless
// the install marker lies there; then a per-user folder, seeded with the shipped files that are
// missing and, when "Ver.ini" differs, refreshed with the shipped ones.
QString resolveProgramFolder(const QString& executableFolder, const QString& perUserFolder);

// A folder path in the program's form: native separators, exactly one trailing separator; empty
// stays empty.
QString withTrailingSeparator(const QString& folder);

// A date as German short dates are written ("08.12.2026"), whatever the system's locale: the program
// and its newsletters speak German only.
QString germanShortDate(const QDate& date);
// Today's date so, as the date display shows it.
QString todayShortDate();

}  // namespace zw
