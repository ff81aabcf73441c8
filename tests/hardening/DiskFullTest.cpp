// Saving, the write back and rendering when the disk is full or the folder may not be written: a
// German message, the files as they were, and the program carries on.
#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "ChildRun.h"
#include "platform/FileIo.h"

namespace zw::test {
namespace {

void setTreePermissions(const QString& folder, QFile::Permissions folders, QFile::Permissions files) {
    QFile::setPermissions(folder, folders);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile::setPermissions(path, it.fileInfo().isDir() ? folders : files);
    }
}

TEST(DiskFull, EveryWriteThatFailsGivesAGermanMessageAndKeepsTheFiles) {
    constexpr auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                         QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                         QFile::ExeOther;
    constexpr auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                              QFile::ReadOther | QFile::ExeOther;
    const struct {
        const char* limit;
        QStringList options;
        QString reason;
    } limits[] = {
        // Larger than every block edit file, smaller than the template and the message.
        {"file size limit", {u"--fsize"_qs, u"1500"_qs}, u"Die Datei ist zu groß für den Datenträger."_qs},
        {"read-only documents folder", {u"--nobody"_qs}, u"Zugriff verweigert."_qs},
    };
    for (const auto& limit : limits) {
        for (const QString& command : {u"save"_qs, u"writeback"_qs, u"render"_qs, u"render2"_qs}) {
            const std::string row = std::string(limit.limit) + ", " + command.toStdString();
            Workspace ws;
            ASSERT_EQ(runChild(u"start"_qs, ws).items, 3);
            const Snapshot before = ws.snapshot();
            const bool readOnlyDocs = limit.options.contains(u"--nobody"_qs);
            if (readOnlyDocs) {
                setTreePermissions(ws.prog, all, all);
                setTreePermissions(ws.docs, readOnly, readOnly);
            }
            const ChildResult result = runChild(command, ws, limit.options);
            setTreePermissions(ws.docs, all, all);

            EXPECT_EQ(result.exitCode, 0) << row;
            EXPECT_TRUE(result.done) << row;
            EXPECT_EQ(result.items, 3) << row;
            ASSERT_EQ(result.errors.size(), 1) << row;
            const QRegularExpression expected(u"^Datei \"%1[^\"]+\" kann nicht erstellt werden\\. %2$"_qs.arg(
                QRegularExpression::escape(readOnlyDocs ? ws.docs : QString()),
                QRegularExpression::escape(limit.reason)));
            EXPECT_TRUE(expected.match(result.errors[0]).hasMatch())
                << row << ": " << result.errors[0].toStdString();
            const Snapshot after = ws.snapshot();
            for (auto it = after.begin(); it != after.end(); ++it) {
                EXPECT_FALSE(it.key().endsWith(QLatin1String(kInterruptedWriteSuffix)))
                    << row << ": " << it.key().toStdString();
                // The block edit files and the renderer's scratch files are the window's working state.
                if (it.key().endsWith(u".edt") || it.key() == u"prog/temp.mim" || it.key().contains(u"/m_"))
                    continue;
                EXPECT_TRUE(it.value() == before.value(it.key())) << row << ": " << it.key().toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace zw::test
