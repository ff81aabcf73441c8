#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"

namespace zw::test {
namespace {

TEST(Lines, SplitAtCrLfLfAndCrAndJoinWithCrLf) {
    const struct {
        QByteArray bytes;
        QList<QByteArray> lines;
    } rows[] = {{"eins\r\nzwei\ndrei\rvier", {"eins", "zwei", "drei", "vier"}},
                {" \r\n[BLOCK001]\r\n", {" ", "[BLOCK001]"}},  // a final line end adds no empty line
                {"a\r\n\r\n\nb\r\r\n", {"a", "", "", "b", ""}},
                {"a\n\rb", {"a", "", "b"}},
                {"", {}}};
    for (const auto& row : rows) EXPECT_EQ(splitLines(row.bytes), row.lines) << row.bytes.toHex().constData();
    EXPECT_EQ(joinLines({"[SETTINGS]", "Berteff=\xC4nderung", " ", ""}),
              "[SETTINGS]\r\nBerteff=\xC4nderung\r\n \r\n\r\n");
    EXPECT_EQ(joinLines({}), QByteArray());
}

TEST(ReadFile, ReadsEveryByteOrGivesTheGermanOpenError) {
    TempFolder folder;
    QByteArray bytes;
    for (int i = 0; i < 3 * 256; ++i) bytes.append(char(i));
    writeAll(folder.file(u"a.bin"_qs), bytes);
    EXPECT_EQ(readFile(folder.file(u"a.bin"_qs)), bytes);

    for (const QString& path : {folder.file(u"fehlt.nld"_qs), folder.subfolder(u"Ordner.nld"_qs)}) {
        try {
            readFile(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const Error& e) {
            const QString start = u"Datei %1 kann nicht geöffnet werden. "_qs.arg(path);
            EXPECT_TRUE(e.message().startsWith(start)) << e.message().toStdString();
            if (path.endsWith(u"fehlt.nld"_qs)) {
                EXPECT_EQ(e.message(), start + systemReason(ENOENT));
            }
            EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
        }
    }
}

// The errno values a user meets most: each gets a German reason, never the system's English text.
TEST(SystemReason, IsGermanForTheCommonErrors) {
    for (int err : {ENOENT, ENOTDIR, EACCES, ENOSPC, EFBIG, EROFS, EISDIR}) {
        EXPECT_FALSE(systemReason(err).isEmpty()) << err;
        EXPECT_NE(systemReason(err), QString::fromLocal8Bit(std::strerror(err))) << err;
    }
}

// --- Writing: complete or not at all ---

using Writer = std::function<void(const QString&, const QByteArray&)>;

struct WriterRow {
    const char* name;
    Writer write;
};

class Write : public ::testing::TestWithParam<WriterRow> {
protected:
    QStringList filesLeft() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    TempFolder folder;
    QString path = folder.file(u"Vorlage.nld"_qs);
};

TEST_P(Write, ReplacesWithExactlyTheBytesAndLeavesNothingElse) {
    GetParam().write(path, "alt, und etwas l\xE4nger\r\n");
    GetParam().write(path, "neu\r\n");
    EXPECT_EQ(readAll(path), QByteArray("neu\r\n"));
    EXPECT_EQ(filesLeft(), QStringList{u"Vorlage.nld"_qs});
}

TEST_P(Write, ThroughALinkReplacesTheFileItNames) {
    const QString real = folder.file(u"echt.nld"_qs);
    writeAll(real, "alt\r\n");
    ASSERT_TRUE(QFile::link(real, path));
    GetParam().write(path, "neu\r\n");
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(readAll(real), QByteArray("neu\r\n"));
}

// A private file stays private when it is replaced, and so does the file a link names.
TEST_P(Write, KeepsThePermissionsOfTheFileItReplaces) {
    const QString real = folder.file(u"echt.nld"_qs);
    writeAll(path, "alt\r\n");
    writeAll(real, "alt\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    const QString link = folder.file(u"Link.nld"_qs);
    ASSERT_TRUE(QFile::link(real, link));
    GetParam().write(path, "neu\r\n");
    GetParam().write(link, "neu\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(readAll(real), QByteArray("neu\r\n"));
}

// A file the user made read-only is not replaced behind his back. Root may write any file, so for root
// the replacement goes through (as the system's own tools do); the refusal shows for any other user.
TEST_P(Write, AReadOnlyFileIsRefusedExceptForRoot) {
    writeAll(path, "alt\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    QString message;
    try {
        GetParam().write(path, "neu\r\n");
    } catch (const Error& e) {
        message = e.message();
    }
    if (::geteuid() == 0) {
        EXPECT_EQ(message, QString());
        EXPECT_EQ(readAll(path), QByteArray("neu\r\n"));
    } else {
        EXPECT_EQ(message, u"Datei \"%1\" kann nicht erstellt werden. %2"_qs.arg(path, systemReason(EACCES)));
        EXPECT_EQ(readAll(path), QByteArray("alt\r\n"));
    }
    EXPECT_EQ(filesLeft(), QStringList{u"Vorlage.nld"_qs});
}

// A folder whose path runs through a file: no user, root included, can create anything in it.
TEST_P(Write, UnderAFileGivesTheGermanCreateError) {
    writeAll(folder.file(u"Datei"_qs), "x");
    const QString below = folder.file(u"Datei/Vorlage.nld"_qs);
    try {
        GetParam().write(below, "neu\r\n");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  u"Datei \"%1\" kann nicht erstellt werden. %2"_qs.arg(below, systemReason(ENOTDIR)));
    }
    EXPECT_EQ(readAll(folder.file(u"Datei"_qs)), QByteArray("x"));
}

// A file that must grow beyond what the system allows the process (as on a full disk): the old file
// stays as it was and no half-written or temporary file is left behind.
TEST_P(Write, BeyondTheFileSizeLimitLeavesTheOldFileIntact) {
    const QByteArray old = "[SETTINGS]\r\nBerteff=alt\r\n";
    writeAll(path, old);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        GetParam().write(path, QByteArray(64 * 1024, 'x'));
    } catch (const Error& e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(
        message,
        u"Datei \"%1\" kann nicht erstellt werden. Die Datei ist zu groß für den Datenträger."_qs.arg(path));
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(filesLeft(), QStringList{u"Vorlage.nld"_qs});
}

INSTANTIATE_TEST_SUITE_P(Writers, Write,
                         ::testing::Values(WriterRow{"WriteFileAtomic", writeFileAtomic},
                                           WriterRow{"WriteWorkingFile", writeWorkingFile}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Copies and folder listings ---

TEST(CopyFileReplacing, CopiesOverTheTargetOrReportsFalseAndKeepsIt) {
    TempFolder folder;
    writeAll(folder.file(u"a.nld"_qs), "neu\r\n");
    writeAll(folder.file(u"Old.nld"_qs), "alt und l\xE4nger\r\n");
    EXPECT_FALSE(copyFileReplacing(folder.file(u"fehlt.nld"_qs), folder.file(u"Old.nld"_qs)));
    EXPECT_EQ(readAll(folder.file(u"Old.nld"_qs)), QByteArray("alt und l\xE4nger\r\n"));
    EXPECT_TRUE(copyFileReplacing(folder.file(u"a.nld"_qs), folder.file(u"Old.nld"_qs)));
    EXPECT_EQ(readAll(folder.file(u"Old.nld"_qs)), QByteArray("neu\r\n"));
}

// As Windows lists them: the pattern and the order both without regard to case.
TEST(ListAndRemoveFiles, MatchTheExtensionOnly) {
    TempFolder folder;
    for (const char* name : {"Temp010.edt", "Temp002.edt", "Temp001.edt", "TEMP003.EDT",
                             "Temp001.edt.zw-part", "Temp003.txt", "edt"})
        writeAll(folder.file(QString::fromLatin1(name)), "");
    folder.subfolder(u"Ordner.edt"_qs);
    EXPECT_EQ(listFiles(folder.path(), u"*.edt"_qs),
              (QStringList{folder.file(u"Temp001.edt"_qs), folder.file(u"Temp002.edt"_qs),
                           folder.file(u"TEMP003.EDT"_qs), folder.file(u"Temp010.edt"_qs)}));
    removeFiles(folder.path(), u"*.edt"_qs);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{u"Temp001.edt.zw-part"_qs, u"Temp003.txt"_qs, u"edt"_qs}));

    // What interrupted writes left, in the folder and below it (seeding writes into "help/bilder/").
    // Another program's unfinished download beside them stays.
    writeAll(folder.subfolder(u"help/bilder"_qs) + u"seite.png.zw-part"_qs, "");
    writeAll(folder.file(u"film.mkv.part"_qs), "");
    removeInterruptedWrites(folder.path());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{u"Temp003.txt"_qs, u"edt"_qs, u"film.mkv.part"_qs}));
    EXPECT_EQ(QDir(folder.file(u"help/bilder"_qs)).entryList(QDir::Files), QStringList());
}

}  // namespace
}  // namespace zw::test
