// Where the working files go: beside the program when that folder takes them, else a per-user folder
// seeded once from the shipped files without ever replacing what the user has there.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/Files.h"

namespace zw::test {
namespace {

TEST(ProgramFolder, AWritableProgramFolderIsUsedAsItIs) {
    TempFolder folders;
    const QString exe = folders.subfolder(QStringLiteral("exe"));
    const QString user = folders.path() + QStringLiteral("user");
    EXPECT_EQ(resolveProgramFolder(exe, user), exe);
    EXPECT_FALSE(QDir(user).exists());
    EXPECT_TRUE(QDir(exe).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "the write probe was left behind";
}

TEST(ProgramFolder, AnInstalledFolderSeedsThePerUserFolderAndAnUpgradeRefreshesOnlyShippedFiles) {
    TempFolder folders;
    const QString exe = folders.subfolder(u"exe"_qs);
    const QString user = folders.path() + u"user/"_qs;
    const QStringList shipped{u"Ver.ini"_qs,        u"Zettelwerk_Vorlage.nld"_qs, u"Vorlagen/Sport.nld"_qs,
                              u"recom/kopf.jpg"_qs, u"help/help.html"_qs,         u"Images/sport.jpg"_qs};
    const auto ship = [&](const QByteArray& version) {
        for (const QString& name : shipped) {
            QDir().mkpath(QFileInfo(exe + name).absolutePath());
            writeAll(exe + name, "shipped " + version);
        }
    };
    ship("1");
    writeAll(exe + kInstalledMarker, "");
    writeAll(exe + u"zettelwerk"_qs, "program");
    QFile::setPermissions(exe + u"zettelwerk"_qs, QFile::ReadOwner | QFile::ExeOwner);

    // Writable as the folder may be (root), the marker decides.
    EXPECT_EQ(resolveProgramFolder(exe, user), user);
    EXPECT_FALSE(QFile::exists(user + kInstalledMarker));
    EXPECT_FALSE(QFile::exists(user + u"zettelwerk"_qs));
    for (const QString& name : shipped) {
        EXPECT_EQ(readAll(user + name), QByteArray("shipped 1")) << name.toStdString();
        if (name != u"Ver.ini"_qs)
            writeAll(user + name, "edited");
    }
    writeAll(user + u"Images/eigen.jpg"_qs, "own picture");

    EXPECT_EQ(resolveProgramFolder(exe, user), user);
    for (const QString& name : shipped.mid(1))
        EXPECT_EQ(readAll(user + name), QByteArray("edited")) << name.toStdString();

    ship("2");
    EXPECT_EQ(resolveProgramFolder(exe, user), user);
    for (const QString& name : shipped) {
        const QByteArray expected = name == u"Zettelwerk_Vorlage.nld"_qs ? "edited" : "shipped 2";
        EXPECT_EQ(readAll(user + name), expected) << name.toStdString();
    }
    EXPECT_EQ(readAll(user + u"Images/eigen.jpg"_qs), QByteArray("own picture"));
    EXPECT_EQ(QDir(exe).entryList(QDir::Files | QDir::Hidden).size(), 4)
        << "the installed folder was written";

    // An upgrade cut short (here a folder where a shipped file goes, as uncopyable as a full disk makes
    // it) keeps the old version, so the next start does it again.
    ship("3");
    QFile::remove(user + u"help/help.html"_qs);
    QDir().mkpath(user + u"help/help.html"_qs);
    EXPECT_EQ(resolveProgramFolder(exe, user), user);
    EXPECT_EQ(readAll(user + u"Ver.ini"_qs), QByteArray("shipped 2"));
    EXPECT_EQ(readAll(user + u"recom/kopf.jpg"_qs), QByteArray("shipped 3"));
    QDir(user + u"help/help.html"_qs).removeRecursively();
    EXPECT_EQ(resolveProgramFolder(exe, user), user);
    EXPECT_EQ(readAll(user + u"Ver.ini"_qs), QByteArray("shipped 3"));
    EXPECT_EQ(readAll(user + u"help/help.html"_qs), QByteArray("shipped 3"));
}

TEST(ProgramFolder, FolderPathsEndInExactlyOneSeparator) {
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/b//")), QStringLiteral("/a/b/"));
    EXPECT_EQ(withTrailingSeparator(QString()), QString());
}

}  // namespace
}  // namespace zw::test
