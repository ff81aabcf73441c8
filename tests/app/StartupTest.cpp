// Start-up of the main window: which template it loads, the working files it leaves, the first run.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cerrno>

#include "AppFixture.h"
#include "platform/Error.h"
#include "template/ui/BlockListWidget.h"

namespace zw::test {
namespace {

using StartupTest = AppTest;

TEST_F(StartupTest, WithoutLastFileLoadsTheDefaultTemplate) {
    writeAll(program(u"Temp007.edt"_qs), "left over\r\n");
    TMainForm& f = start();

    EXPECT_EQ(f.windowTitle(), u"Zettelwerk pro [Zettelwerk_Vorlage.nld]"_qs);
    EXPECT_EQ(listItems(),
              QStringList({u"Meldung1:  Erste"_qs, u"Meldung2:  Zweite"_qs, u"Meldung3:  Dritte"_qs}));
    // Exactly the loaded template's block files; the one of an earlier run is gone.
    EXPECT_EQ(blockFiles(), QStringList({u"Temp001.edt"_qs, u"Temp002.edt"_qs, u"Temp003.edt"_qs}));
    EXPECT_EQ(readAll(program(u"Old.nld"_qs)), defaultTemplate);
    EXPECT_TRUE(f.session().SavePath.isEmpty());
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(f.ListBox1->selectedRow(), 0);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Erste"_qs);
    EXPECT_EQ(f.BetreffEdit->text(), u"Herbst"_qs);
    EXPECT_EQ(f.DateAnzeigeEdit->text(), todayShortDate());
    EXPECT_TRUE(prompts.informations.isEmpty());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(StartupTest, LastFileDecidesTemplateAndSaveName) {
    const QString own = documents(u"Eigen.nld"_qs);
    const QByteArray ownBytes = templateFile("Eigen", {blockSection(1, "Nur eine")});
    writeAll(own, ownBytes);

    struct Row {
        const char* name;
        QByteArray lastFile;  // null: no "LastFile.ini"
        bool expectOwn;
    };
    const Row rows[] = {
        {"names an existing file", own.toUtf8() + "\r\n", true},
        {"names a missing file", QByteArray("/nicht/da.nld\r\n"), false},
        {"is empty", QByteArray(""), false},
        {"has an empty first line", QByteArray("\r\n/x.nld\r\n"), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeAll(program(u"LastFile.ini"_qs), row.lastFile);
        TMainForm& f = start();
        if (row.expectOwn) {
            EXPECT_EQ(f.session().CurrentTemplatePath, own);
            EXPECT_EQ(f.session().SavePath, own);
            EXPECT_EQ(f.windowTitle(), u"Zettelwerk pro [Eigen.nld]"_qs);
            EXPECT_EQ(readAll(program(u"Old.nld"_qs)), ownBytes);
            EXPECT_EQ(listItems(), QStringList({u"Meldung1:  Nur eine"_qs}));
        } else {
            EXPECT_EQ(f.session().CurrentTemplatePath, program(u"Zettelwerk_Vorlage.nld"_qs));
            EXPECT_TRUE(f.session().SavePath.isEmpty());
            EXPECT_EQ(listItems().size(), 3);
        }
        EXPECT_TRUE(prompts.errors.isEmpty());
        form.reset();
    }
}

// "zettelwerk FILE.nld" with a file that cannot be read: the German open error, then the usual start.
TEST_F(StartupTest, AnUnreadableFileOnTheCommandLineIsReportedAndTheLastTemplateLoaded) {
    const QString own = documents(u"Eigen.nld"_qs);
    writeAll(own, templateFile("Eigen", {blockSection(1, "Nur eine")}));
    const QString folder = folders_.subfolder(u"Ordner.nld"_qs);
    const struct {
        QString argument;
        int reason;
        bool lastFile;
    } rows[] = {{documents(u"fehlt.nld"_qs), ENOENT, true},
                {documents(u"fehlt.nld"_qs), ENOENT, false},
                {folder, EISDIR, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.argument.toStdString() + (row.lastFile ? " with LastFile.ini" : ""));
        QFile::remove(program(u"LastFile.ini"_qs));
        if (row.lastFile)
            writeAll(program(u"LastFile.ini"_qs), own.toUtf8() + "\r\n");
        prompts.errors.clear();
        windowsInfo = std::make_unique<TWindowsInfo>(platform);
        form = std::make_unique<TMainForm>(
            platform, prompts, *windowsInfo,
            ProductBranding::load(Folders::derive(programFolder, documentsFolder)), row.argument);
        EXPECT_EQ(prompts.errors, QStringList{u"Datei %1 kann nicht geöffnet werden. %2"_qs.arg(
                                      row.argument, systemReason(row.reason))});
        const QString loaded = row.lastFile ? own : program(u"Zettelwerk_Vorlage.nld"_qs);
        EXPECT_EQ(form->session().CurrentTemplatePath, loaded);
        EXPECT_EQ(form->session().SavePath, row.lastFile ? own : QString());
        EXPECT_EQ(listItems().size(), row.lastFile ? 1 : 3);
        EXPECT_EQ(QFile::exists(program(u"LastFile.ini"_qs)), row.lastFile);  // not the bad name
        if (row.lastFile) {
            EXPECT_EQ(readAll(program(u"LastFile.ini"_qs)), own.toUtf8() + "\r\n");
        }
        form.reset();
    }
}

TEST_F(StartupTest, FirstRunCopiesShippedTemplatesOnceAndNeverReplaces) {
    writeAll(documents(u"Sport.nld"_qs), "meins");
    writeAll(program(u"Vorlagen/Neu.nld"_qs), templateFile("Neu", {}));
    writeAll(program(u"Vorlagen/.versteckt.nld"_qs), templateFile("x", {}));
    start();
    EXPECT_EQ(readAll(documents(u"Sport.nld"_qs)), QByteArray("meins"));
    EXPECT_TRUE(QFile::exists(documents(u"Neu.nld"_qs)));
    EXPECT_FALSE(QFile::exists(documents(u".versteckt.nld"_qs)));
    EXPECT_EQ(readAll(program(u"Copy.ini"_qs)), QByteArray("Version 1.0\r\n"));

    // With the marker present nothing is copied, even into an empty documents folder.
    form.reset();
    QFile::remove(documents(u"Neu.nld"_qs));
    start();
    EXPECT_FALSE(QFile::exists(documents(u"Neu.nld"_qs)));
}

TEST_F(StartupTest, WithoutVerIniTheFirstRunRepeats) {
    QFile::remove(program(u"Ver.ini"_qs));
    start();
    EXPECT_FALSE(QFile::exists(program(u"Copy.ini"_qs)));
    EXPECT_TRUE(QFile::exists(documents(u"Sport.nld"_qs)));
    form.reset();
    QFile::remove(documents(u"Sport.nld"_qs));
    start();
    EXPECT_TRUE(QFile::exists(documents(u"Sport.nld"_qs)));
}

TEST_F(StartupTest, TemplateWithoutBlocksSaysSoAndSelectsNothing) {
    writeAll(program(u"Zettelwerk_Vorlage.nld"_qs), templateFile("Leer", {}));
    TMainForm& f = start();
    EXPECT_EQ(prompts.informations, QStringList({u"Bitte zuerst einen Block zum bearbeiten auswählen!"_qs}));
    EXPECT_EQ(f.ListBox1->count(), 0);
    EXPECT_EQ(f.ListBox1->selectedRow(), -1);
    EXPECT_TRUE(f.session().Saved);
}

TEST_F(StartupTest, MissingDefaultTemplateReportsAndStillStarts) {
    QFile::remove(program(u"Zettelwerk_Vorlage.nld"_qs));
    TMainForm& f = start();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().startsWith(u"Datei "_qs));
    EXPECT_TRUE(prompts.errors.first().contains(u"kann nicht geöffnet werden."_qs));
    EXPECT_EQ(f.ListBox1->count(), 0);
    EXPECT_TRUE(f.DateCheckBox->isChecked());  // an unreadable file reads as all empty, date on
}

}  // namespace
}  // namespace zw::test
