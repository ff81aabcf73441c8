#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

#include "QtPrinters.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"

namespace zw {
namespace {

using test::readAll;
using test::TempFolder;
using test::writeAll;

// --- Lines ---

struct SplitRow {
    const char* name;
    QByteArray bytes;
    QList<QByteArray> lines;
};

class SplitLines : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitLines, AcceptsCrLfLfAndCr) { EXPECT_EQ(splitLines(GetParam().bytes), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitLines,
    ::testing::Values(SplitRow{"MixedLineEnds", "eins\r\nzwei\ndrei\rvier", {"eins", "zwei", "drei", "vier"}},
                      SplitRow{"FinalLineEndAddsNoEmptyLine", "eins\r\n", {"eins"}},
                      SplitRow{"EmptyLinesInBetween", "a\r\n\r\n\nb\r\r\n", {"a", "", "", "b", ""}},
                      SplitRow{"CrBeforeCrLfIsTwoLineEnds", "a\r\r\nb", {"a", "", "b"}},
                      SplitRow{"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
                      SplitRow{"OnlyLineEnds", "\n\r\n", {"", ""}},
                      SplitRow{"NoLineEndAtAll", "eins", {"eins"}},
                      SplitRow{"BlankLineIsKept", " \r\n[BLOCK001]\r\n", {" ", "[BLOCK001]"}},
                      SplitRow{"Empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JoinLines, EndsEveryLineWithCrLfTheLastOneIncluded) {
    EXPECT_EQ(joinLines({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
    EXPECT_EQ(joinLines({""}), QByteArray("\r\n"));
    EXPECT_EQ(joinLines({}), QByteArray());
}

TEST(JoinLines, UndoesSplitLinesOfAFileWrittenWithCrLf) {
    const QByteArray bytes = "[SETTINGS]\r\nBerteff=\xC4nderung\r\n \r\n\r\n";
    EXPECT_EQ(joinLines(splitLines(bytes)), bytes);
}

// --- Reading, and the German error texts ---

TEST(ReadFile, MissingFileGivesTheGermanOpenError) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("fehlt.nld"));
    try {
        readFile(path);
        FAIL() << "no error for a missing file";
    } catch (const Error& e) {
        const QString expectedStart = QStringLiteral("Datei %1 kann nicht geöffnet werden. ").arg(path);
        ASSERT_TRUE(e.message().startsWith(expectedStart)) << e.message().toStdString();
        const QString reason = e.message().mid(expectedStart.size());
        EXPECT_EQ(reason, systemReason(ENOENT));
    }
}

TEST(ReadFile, FolderInsteadOfAFileGivesTheOpenError) {
    TempFolder folder;
    const QString path = folder.subfolder(QStringLiteral("Ordner.nld"));
    try {
        readFile(path);
        FAIL() << "no error for a folder";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Datei "))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral(" kann nicht geöffnet werden. "))) << e.message().toStdString();
    }
}

TEST(ReadFile, ReadsEveryByte) {
    TempFolder folder;
    QByteArray bytes;
    for (int i = 0; i < 3 * 256; ++i) bytes.append(char(i));
    writeAll(folder.file(QStringLiteral("a.bin")), bytes);
    EXPECT_EQ(readFile(folder.file(QStringLiteral("a.bin"))), bytes);
}

// The errno values a user meets most: each gets a German reason, never the system's English text.
class GermanReason : public ::testing::TestWithParam<int> {};

TEST_P(GermanReason, IsNotTheEnglishSystemText) {
    const int err = GetParam();
    const QString reason = systemReason(err);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_NE(reason, QString::fromLocal8Bit(std::strerror(err)));
}

INSTANTIATE_TEST_SUITE_P(CommonErrors, GermanReason, ::testing::Values(ENOENT, ENOTDIR, EACCES, ENOSPC, EROFS, EISDIR),
                         [](const auto& info) {
                             switch (info.param) {
                                 case ENOENT: return std::string("NoSuchFile");
                                 case ENOTDIR: return std::string("NotAFolder");
                                 case EACCES: return std::string("AccessDenied");
                                 case ENOSPC: return std::string("DiskFull");
                                 case EROFS: return std::string("ReadOnlyDisk");
                                 default: return std::string("IsAFolder");
                             }
                         });

TEST(ErrorTexts, FollowTheRuntimesGermanPatterns) {
    EXPECT_EQ(fileOpenError(QStringLiteral("C:\\a.nld"), ENOENT).message(),
              QStringLiteral("Datei C:\\a.nld kann nicht geöffnet werden. ") + systemReason(ENOENT));
    EXPECT_EQ(fileCreateError(QStringLiteral("C:\\a.nld"), EACCES).message(),
              QStringLiteral("Datei \"C:\\a.nld\" kann nicht erstellt werden. ") + systemReason(EACCES));
    // what() carries the same text for code that only knows std::exception.
    const Error e = fileOpenError(QStringLiteral("Grüße.nld"), ENOENT);
    EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
}

// --- Writing: complete or not at all ---

TEST(WriteFileAtomic, CreatesAndReplacesWithExactlyTheBytes) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("Vorlage.nld"));
    writeFileAtomic(path, "alt, und etwas l\xE4nger\r\n");
    writeFileAtomic(path, "neu\r\n");
    EXPECT_EQ(readAll(path), QByteArray("neu\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Vorlage.nld")});
}

TEST(WriteWorkingFile, CreatesAndReplacesWithExactlyTheBytesAndLeavesNoPart) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("Temp001.edt"));
    writeWorkingFile(path, "alt, und etwas l\xE4nger\r\n");
    writeWorkingFile(path, "neu\r\n");
    EXPECT_EQ(readAll(path), QByteArray("neu\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Temp001.edt")});
}

using Writer = std::function<void(const QString&, const QByteArray&)>;

struct WriterRow {
    const char* name;
    Writer write;
};

class FailedWrite : public ::testing::TestWithParam<WriterRow> {};

// A folder whose path runs through a file: no user, root included, can create anything in it.
TEST_P(FailedWrite, UnderAFileGivesTheGermanCreateError) {
    TempFolder folder;
    writeAll(folder.file(QStringLiteral("Datei")), "x");
    const QString path = folder.file(QStringLiteral("Datei/Vorlage.nld"));
    try {
        GetParam().write(path, "neu\r\n");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2").arg(path, systemReason(ENOTDIR)));
    }
    EXPECT_EQ(readAll(folder.file(QStringLiteral("Datei"))), QByteArray("x"));
}

// A file that must grow beyond what the system allows the process (as on a full disk): the old file
// stays as it was and no half-written or temporary file is left behind.
TEST_P(FailedWrite, BeyondTheFileSizeLimitLeavesTheOldFileIntact) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("Vorlage.nld"));
    const QByteArray old = "[SETTINGS]\r\nBerteff=alt\r\n";
    writeAll(path, old);

    const QByteArray big(64 * 1024, 'x');
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    QString message;
    try {
        GetParam().write(path, big);
    } catch (const Error& e) {
        threw = true;
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ").arg(path)))
        << message.toStdString();
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Vorlage.nld")});
}

TEST_P(FailedWrite, InAReadOnlyFolderLeavesTheOldFileIntact) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    TempFolder folder;
    const QString sub = folder.subfolder(QStringLiteral("nurlesen"));
    const QString path = sub + QStringLiteral("Vorlage.nld");
    writeAll(path, "alt\r\n");
    ASSERT_TRUE(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
    bool threw = false;
    try {
        GetParam().write(path, "neu\r\n");
    } catch (const Error& e) {
        threw = true;
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ").arg(path)));
    }
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readAll(path), QByteArray("alt\r\n"));
    EXPECT_EQ(QDir(sub).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Vorlage.nld")});
}

INSTANTIATE_TEST_SUITE_P(Writers, FailedWrite,
                         ::testing::Values(WriterRow{"WriteFileAtomic", writeFileAtomic},
                                           WriterRow{"WriteWorkingFile", writeWorkingFile}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Copies and folder listings ---

TEST(CopyFileReplacing, CopiesOverAnExistingFile) {
    TempFolder folder;
    writeAll(folder.file(QStringLiteral("a.nld")), "neu\r\n");
    writeAll(folder.file(QStringLiteral("Old.nld")), "alt und l\xE4nger\r\n");
    EXPECT_TRUE(copyFileReplacing(folder.file(QStringLiteral("a.nld")), folder.file(QStringLiteral("Old.nld"))));
    EXPECT_EQ(readAll(folder.file(QStringLiteral("Old.nld"))), QByteArray("neu\r\n"));
}

TEST(CopyFileReplacing, MissingSourceReportsFalseAndKeepsTheTarget) {
    TempFolder folder;
    writeAll(folder.file(QStringLiteral("Old.nld")), "alt\r\n");
    EXPECT_FALSE(copyFileReplacing(folder.file(QStringLiteral("fehlt.nld")), folder.file(QStringLiteral("Old.nld"))));
    EXPECT_EQ(readAll(folder.file(QStringLiteral("Old.nld"))), QByteArray("alt\r\n"));
}

// As Windows lists them: the pattern and the order both without regard to case.
TEST(ListFiles, MatchesTheExtensionInAscendingNameOrder) {
    TempFolder folder;
    for (const char* name :
         {"Temp010.edt", "Temp002.edt", "Temp001.edt", "TEMP003.EDT", "Temp001.edt.part", "Temp003.txt", "edt"})
        writeAll(folder.file(QString::fromLatin1(name)), "");
    folder.subfolder(QStringLiteral("Ordner.edt"));
    const QStringList expected{folder.file(QStringLiteral("Temp001.edt")), folder.file(QStringLiteral("Temp002.edt")),
                               folder.file(QStringLiteral("TEMP003.EDT")), folder.file(QStringLiteral("Temp010.edt"))};
    EXPECT_EQ(listFiles(folder.path(), QStringLiteral("*.edt")), expected);
}

TEST(RemoveFiles, DeletesOnlyWhatMatches) {
    TempFolder folder;
    for (const char* name : {"Temp001.edt", "Temp002.edt", "Vorlage.nld", "BKG0001.bkg"})
        writeAll(folder.file(QString::fromLatin1(name)), "x");
    removeFiles(folder.path(), QStringLiteral("*.edt"));
    QStringList left = QDir(folder.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("BKG0001.bkg"), QStringLiteral("Vorlage.nld")}));
}

TEST(FileExists, IsTrueOnlyForAnExistingFile) {
    TempFolder folder;
    writeAll(folder.file(QStringLiteral("Logo.jpg")), "x");
    EXPECT_TRUE(fileExists(folder.file(QStringLiteral("Logo.jpg"))));
    EXPECT_FALSE(fileExists(folder.file(QStringLiteral("fehlt.jpg"))));
    EXPECT_FALSE(fileExists(folder.path()));  // the images folder itself, as an empty picture setting resolves
    EXPECT_FALSE(fileExists(QString()));
}

}  // namespace
}  // namespace zw
