// Where the working files go: beside the program when that folder takes them, else a per-user folder
// seeded once from the shipped files without ever replacing what the user has there.
#include <QDir>
#include <QFile>

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
    EXPECT_TRUE(QDir(exe).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "the write probe was left behind";
}

TEST(ProgramFolder, AReadOnlyProgramFolderSeedsAPerUserFolderOnce) {
    TempFolder folders;
    const QString exe = folders.subfolder(QStringLiteral("exe"));
    QDir().mkpath(exe + QStringLiteral("Vorlagen"));
    writeAll(exe + QStringLiteral("Zettelwerk_Vorlage.nld"), "shipped");
    writeAll(exe + QStringLiteral("Vorlagen/Sport.nld"), "shipped sport");
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(exe + QStringLiteral("probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this user writes into read-only folders (root); nothing to learn here";
    }
    const QString user = folders.path() + QStringLiteral("user");
    writeAll(folders.subfolder(QStringLiteral("user")) + QStringLiteral("Zettelwerk_Vorlage.nld"), "edited by the user");

    EXPECT_EQ(resolveProgramFolder(exe, user), user + u'/');
    EXPECT_EQ(readAll(user + QStringLiteral("/Zettelwerk_Vorlage.nld")), QByteArray("edited by the user"));
    EXPECT_EQ(readAll(user + QStringLiteral("/Vorlagen/Sport.nld")), QByteArray("shipped sport"));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ProgramFolder, FolderPathsEndInExactlyOneSeparator) {
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/b//")), QStringLiteral("/a/b/"));
    EXPECT_EQ(withTrailingSeparator(QString()), QString());
}

}  // namespace
}  // namespace zw::test
