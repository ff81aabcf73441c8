// Start-up of the main window: which template it loads, the working files it leaves, the first run.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "AppFixture.h"
#include "template/ui/BlockListWidget.h"

namespace zw::test {
namespace {

using StartupTest = AppTest;

TEST_F(StartupTest, WithoutLastFileLoadsTheDefaultTemplate) {
    writeAll(program(QStringLiteral("Temp007.edt")), "left over\r\n");
    TMainForm& f = start();

    EXPECT_EQ(f.windowTitle(), QStringLiteral("Zettelwerk pro [Zettelwerk_Vorlage.nld]"));
    EXPECT_EQ(listItems(), QStringList({QStringLiteral("Meldung1:  Erste"), QStringLiteral("Meldung2:  Zweite"),
                                        QStringLiteral("Meldung3:  Dritte")}));
    // Exactly the loaded template's block files; the one of an earlier run is gone.
    EXPECT_EQ(blockFiles(), QStringList({QStringLiteral("Temp001.edt"), QStringLiteral("Temp002.edt"),
                                         QStringLiteral("Temp003.edt")}));
    EXPECT_EQ(readAll(program(QStringLiteral("Old.nld"))), defaultTemplate);
    EXPECT_TRUE(f.session().SavePath.isEmpty());
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(f.ListBox1->selectedRow(), 0);
    EXPECT_EQ(f.HeadLineEdit->text(), QStringLiteral("Erste"));
    EXPECT_EQ(f.BetreffEdit->text(), QStringLiteral("Herbst"));
    EXPECT_EQ(f.DateAnzeigeEdit->text(), todayShortDate());
    EXPECT_TRUE(prompts.informations.isEmpty());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(StartupTest, LastFileDecidesTemplateAndSaveName) {
    const QString own = documents(QStringLiteral("Eigen.nld"));
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
        writeAll(program(QStringLiteral("LastFile.ini")), row.lastFile);
        TMainForm& f = start();
        if (row.expectOwn) {
            EXPECT_EQ(f.session().CurrentTemplatePath, own);
            EXPECT_EQ(f.session().SavePath, own);
            EXPECT_EQ(f.windowTitle(), QStringLiteral("Zettelwerk pro [Eigen.nld]"));
            EXPECT_EQ(readAll(program(QStringLiteral("Old.nld"))), ownBytes);
            EXPECT_EQ(listItems(), QStringList({QStringLiteral("Meldung1:  Nur eine")}));
        } else {
            EXPECT_EQ(f.session().CurrentTemplatePath, program(QStringLiteral("Zettelwerk_Vorlage.nld")));
            EXPECT_TRUE(f.session().SavePath.isEmpty());
            EXPECT_EQ(listItems().size(), 3);
        }
        EXPECT_TRUE(prompts.errors.isEmpty());
        form.reset();
    }
}

TEST_F(StartupTest, FirstRunCopiesShippedTemplatesOnceAndNeverReplaces) {
    writeAll(documents(QStringLiteral("Sport.nld")), "meins");
    writeAll(program(QStringLiteral("Vorlagen/Neu.nld")), templateFile("Neu", {}));
    writeAll(program(QStringLiteral("Vorlagen/.versteckt.nld")), templateFile("x", {}));
    start();
    EXPECT_EQ(readAll(documents(QStringLiteral("Sport.nld"))), QByteArray("meins"));
    EXPECT_TRUE(QFile::exists(documents(QStringLiteral("Neu.nld"))));
    EXPECT_FALSE(QFile::exists(documents(QStringLiteral(".versteckt.nld"))));
    EXPECT_EQ(readAll(program(QStringLiteral("Copy.ini"))), QByteArray("Version 1.0\r\n"));

    // With the marker present nothing is copied, even into an empty documents folder.
    form.reset();
    QFile::remove(documents(QStringLiteral("Neu.nld")));
    start();
    EXPECT_FALSE(QFile::exists(documents(QStringLiteral("Neu.nld"))));
}

TEST_F(StartupTest, WithoutVerIniTheFirstRunRepeats) {
    QFile::remove(program(QStringLiteral("Ver.ini")));
    start();
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("Copy.ini"))));
    EXPECT_TRUE(QFile::exists(documents(QStringLiteral("Sport.nld"))));
    form.reset();
    QFile::remove(documents(QStringLiteral("Sport.nld")));
    start();
    EXPECT_TRUE(QFile::exists(documents(QStringLiteral("Sport.nld"))));
}

TEST_F(StartupTest, TemplateWithoutBlocksSaysSoAndSelectsNothing) {
    writeAll(program(QStringLiteral("Zettelwerk_Vorlage.nld")), templateFile("Leer", {}));
    TMainForm& f = start();
    EXPECT_EQ(prompts.informations, QStringList({QStringLiteral("Bitte zuerst einen Block zum bearbeiten auswählen!")}));
    EXPECT_EQ(f.ListBox1->count(), 0);
    EXPECT_EQ(f.ListBox1->selectedRow(), -1);
    EXPECT_TRUE(f.session().Saved);
}

TEST_F(StartupTest, MissingDefaultTemplateReportsAndStillStarts) {
    QFile::remove(program(QStringLiteral("Zettelwerk_Vorlage.nld")));
    TMainForm& f = start();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().startsWith(QStringLiteral("Datei ")));
    EXPECT_TRUE(prompts.errors.first().contains(QStringLiteral("kann nicht geöffnet werden.")));
    EXPECT_EQ(f.ListBox1->count(), 0);
    EXPECT_TRUE(f.DateCheckBox->isChecked());  // an unreadable file reads as all empty, date on
}

}  // namespace
}  // namespace zw::test
