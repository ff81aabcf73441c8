// New, open, save, save under a new name and the question on close, judged by the files they leave.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>

#include "AppFixture.h"
#include "platform/FileIo.h"
#include "template/NldFormat.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw::test {
namespace {

class FileCommandsTest : public AppTest {
protected:
    QString defaultPath() const { return program(u"Zettelwerk_Vorlage.nld"_qs); }
    QByteArray subjectIn(const QString& path) const { return readSettings(readAll(path)).Berteff; }
    // An edit that reaches the working copy, as every write back does.
    void editSubjectAndWriteBack(TMainForm& f, const QString& subject) {
        f.BetreffEdit->setText(subject);
        f.blockList().ListBox1Enter();
    }
};

TEST_F(FileCommandsTest, FirstSaveAsksForANameAndWritesTemplateMessageAndLastFile) {
    TMainForm& f = start();
    editSubjectAndWriteBack(f, u"Winter"_qs);
    const QString target = documents(u"Mein.Newsletter.nld"_qs);
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();

    EXPECT_EQ(prompts.saveSuggestions, QStringList({QString()}));
    EXPECT_EQ(prompts.saveStartFolders, QStringList({documentsFolder}));
    EXPECT_EQ(subjectIn(target), QByteArray("Winter"));
    EXPECT_TRUE(readAll(documents(u"Mein.eml"_qs)).contains("\r\nSubject: Winter\r\n"));
    EXPECT_EQ(readAll(program(u"LastFile.ini"_qs)), target.toUtf8() + "\r\n");
    EXPECT_EQ(readAll(program(u"Old.nld"_qs)), readAll(target));
    EXPECT_EQ(f.windowTitle(), u"Zettelwerk pro [Mein.Newsletter.nld]"_qs);
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(f.session().SavePath, target);
    // The default template we left is as it was shipped.
    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();

    // The next save writes there without asking.
    editSubjectAndWriteBack(f, u"Frühling"_qs);
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_EQ(prompts.saveSuggestions.size(), 1);
    EXPECT_EQ(subjectIn(target), QByteArray("Fr\xfchling"));
}

TEST_F(FileCommandsTest, CancellingTheSaveDialogLeavesTheTemplateUnsaved) {
    TMainForm& f = start();
    f.BetreffEdit->setText(u"Winter"_qs);
    prompts.saveAnswers = {QString()};
    f.templateFiles().Vorlagespeichernunter1Click();
    EXPECT_FALSE(f.session().Saved);
    EXPECT_FALSE(f.session().CloseAllowed);
    EXPECT_FALSE(QFile::exists(program(u"LastFile.ini"_qs)));
    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
}

TEST_F(FileCommandsTest, ClosingWithoutChangesAsksNothingAndClearsTheBlockFiles) {
    TMainForm& f = start();
    EXPECT_TRUE(f.templateFiles().FormCloseQuery());
    EXPECT_EQ(prompts.closeQuestions, 0);
    EXPECT_TRUE(blockFiles().isEmpty());
}

TEST_F(FileCommandsTest, ClosingAnswers) {
    struct Row {
        const char* name;
        CloseAnswer answer;
        QStringList saveAnswers;
        bool closes;
        bool fileRestored;
    };
    const Row rows[] = {
        {"Nein restores the template", CloseAnswer::No, {}, true, true},
        {"Abbrechen keeps the window open", CloseAnswer::Abort, {}, false, false},
        {"the close box keeps the window open", CloseAnswer::Cancel, {}, false, false},
        {"Ja with the save dialog cancelled keeps it open", CloseAnswer::Yes, {QString()}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeAll(defaultPath(), defaultTemplate);
        TMainForm& f = start();
        // Choosing another block is enough to count as a change.
        f.ListBox1->selectRow(1);
        f.blockList().ListBox1Click();
        editSubjectAndWriteBack(f, u"Geändert"_qs);
        prompts.closeAnswers = {row.answer};
        prompts.saveAnswers = row.saveAnswers;

        EXPECT_EQ(f.templateFiles().FormCloseQuery(), row.closes);
        EXPECT_EQ(prompts.closeQuestions, 1);
        EXPECT_EQ(readAll(defaultPath()) == defaultTemplate, row.fileRestored);
        EXPECT_EQ(f.session().Saved, false);
        EXPECT_TRUE(QDir(documentsFolder).entryList({u"*.eml"_qs}).isEmpty());
        prompts.closeQuestions = 0;
        form.reset();
    }
}

TEST_F(FileCommandsTest, NeinAfterASaveKeepsWhatWasSaved) {
    TMainForm& f = start();
    const QString target = documents(u"Brief.nld"_qs);
    editSubjectAndWriteBack(f, u"Gespeichert"_qs);
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();
    editSubjectAndWriteBack(f, u"Verworfen"_qs);
    prompts.closeAnswers = {CloseAnswer::No};
    EXPECT_TRUE(f.templateFiles().FormCloseQuery());
    EXPECT_EQ(subjectIn(target), QByteArray("Gespeichert"));
}

// What write backs put into the file with no change to ask about (an alignment) goes when it is left.
TEST_F(FileCommandsTest, LeavingWithoutAQuestionRestoresTheFileAsLastSaved) {
    for (const bool close : {true, false}) {
        SCOPED_TRACE(close ? "closing" : "new template");
        writeAll(defaultPath(), defaultTemplate);
        TMainForm& f = start();
        f.LogoAlignButtons[2]->click();
        f.blockList().ListBox1Enter();
        ASSERT_NE(readAll(defaultPath()), defaultTemplate);
        ASSERT_TRUE(f.session().Saved);
        if (close)
            EXPECT_TRUE(f.templateFiles().FormCloseQuery());
        else
            f.templateFiles().NeueVorlage1Click();
        EXPECT_EQ(prompts.closeQuestions, 0);
        EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
        form.reset();
    }
}

// "Speichern unter" the same file reached through a linked folder is a save of that file, not a move.
TEST_F(FileCommandsTest, SavingUnderALinkedNameOfTheSameFileKeepsTheSave) {
    TMainForm& f = start();
    const QString target = documents(u"Brief.nld"_qs);
    editSubjectAndWriteBack(f, u"Erst"_qs);
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();
    ASSERT_TRUE(QFile::link(documentsFolder, program(u"Verknuepft"_qs)));
    editSubjectAndWriteBack(f, u"Zweit"_qs);
    prompts.saveAnswers = {program(u"Verknuepft/Brief.nld"_qs)};
    f.templateFiles().Vorlagespeichernunter1Click();
    EXPECT_EQ(subjectIn(target), QByteArray("Zweit"));
    EXPECT_EQ(readAll(program(u"Old.nld"_qs)), readAll(target));
}

TEST_F(FileCommandsTest, NewTemplateAfterNeinRestoresTheFileLeft) {
    TMainForm& f = start();
    editSubjectAndWriteBack(f, u"Verworfen"_qs);
    ASSERT_NE(readAll(defaultPath()), defaultTemplate);
    prompts.closeAnswers = {CloseAnswer::No};
    f.templateFiles().NeueVorlage1Click();

    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
    EXPECT_EQ(f.windowTitle(), u"Zettelwerk pro [NEW.nld]"_qs);
    EXPECT_EQ(f.session().CurrentTemplatePath, program(u"NEW.nld"_qs));
    EXPECT_TRUE(f.session().SavePath.isEmpty());
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(f.ListBox1->count(), 0);
    EXPECT_EQ(readAll(program(u"Old.nld"_qs)), readAll(program(u"NEW.nld"_qs)));
    EXPECT_FALSE(QFile::exists(program(u"LastFile.ini"_qs)));
}

TEST_F(FileCommandsTest, DismissingTheQuestionStopsNewAndOpen) {
    for (CloseAnswer answer : {CloseAnswer::Cancel, CloseAnswer::Abort}) {
        TMainForm& f = start();
        editSubjectAndWriteBack(f, u"Bleibt"_qs);
        prompts.closeAnswers = {answer, answer};
        f.templateFiles().NeueVorlage1Click();
        f.templateFiles().Vorlageffnen1Click();
        EXPECT_EQ(f.session().CurrentTemplatePath, defaultPath());
        EXPECT_EQ(subjectIn(defaultPath()), QByteArray("Bleibt"));
        EXPECT_TRUE(prompts.openStartFolders.isEmpty());
        EXPECT_FALSE(f.session().Saved);
        form.reset();
        writeAll(defaultPath(), defaultTemplate);
    }
}

TEST_F(FileCommandsTest, JaBeforeNewWithTheSaveDialogCancelledGoesOnWithTheFileAsSaved) {
    TMainForm& f = start();
    editSubjectAndWriteBack(f, u"Verworfen"_qs);
    prompts.closeAnswers = {CloseAnswer::Yes};
    prompts.saveAnswers = {QString()};
    f.templateFiles().NeueVorlage1Click();
    EXPECT_EQ(f.session().CurrentTemplatePath, program(u"NEW.nld"_qs));
    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
}

TEST_F(FileCommandsTest, OpenLoadsRemembersAndTakesTheRevertCopy) {
    const QString chosen = documents(u"Sport.nld"_qs);
    TMainForm& f = start();  // the first run copies the shipped "Sport.nld" here
    ASSERT_TRUE(QFile::exists(chosen));
    const QByteArray asChosen = readAll(chosen);  // the preview after opening writes the template back
    prompts.openAnswers = {chosen};
    f.templateFiles().Vorlageffnen1Click();

    EXPECT_EQ(prompts.openStartFolders, QStringList({documentsFolder}));
    EXPECT_EQ(prompts.closeQuestions, 0);
    EXPECT_EQ(f.session().CurrentTemplatePath, chosen);
    EXPECT_EQ(f.session().SavePath, chosen);
    EXPECT_EQ(f.windowTitle(), u"Zettelwerk pro [Sport.nld]"_qs);
    EXPECT_EQ(readAll(program(u"LastFile.ini"_qs)), chosen.toUtf8() + "\r\n");
    EXPECT_EQ(readAll(program(u"Old.nld"_qs)), asChosen);
    EXPECT_EQ(listItems(), QStringList({u"Meldung1:  Spiel"_qs}));
    EXPECT_EQ(previews->shown, QStringList{u"preview1"_qs});
    EXPECT_TRUE(f.session().Saved);

    // A cancelled dialog changes nothing.
    prompts.openAnswers = {QString()};
    f.templateFiles().Vorlageffnen1Click();
    EXPECT_EQ(f.session().CurrentTemplatePath, chosen);
}

TEST_F(FileCommandsTest, SavingTheBlankTemplateUnderANewNameKeepsItBlank) {
    TMainForm& f = start();
    f.templateFiles().NeueVorlage1Click();
    const QByteArray blank = readAll(program(u"NEW.nld"_qs));
    f.blockList().NewBitBtnClick();
    f.HeadLineEdit->setText(u"Erste Meldung"_qs);
    editSubjectAndWriteBack(f, u"Neu"_qs);
    ASSERT_NE(readAll(program(u"NEW.nld"_qs)), blank);

    prompts.saveAnswers = {documents(u"Neu.nld"_qs)};
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_EQ(readAll(program(u"NEW.nld"_qs)), blank);
    EXPECT_EQ(readBlockSections(readAll(documents(u"Neu.nld"_qs))).size(), 1);
}

TEST_F(FileCommandsTest, AMessageThatCannotBeWrittenStillSavesTheTemplate) {
    QFile::remove(program(u"Images/pic.jpg"_qs));
    TMainForm& f = start();
    editSubjectAndWriteBack(f, u"Ohne Bild"_qs);
    const QString target = documents(u"Fehlt.nld"_qs);
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();

    EXPECT_EQ(subjectIn(target), QByteArray("Ohne Bild"));
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(readAll(program(u"LastFile.ini"_qs)), target.toUtf8() + "\r\n");
    EXPECT_FALSE(QFile::exists(documents(u"Fehlt.eml"_qs)));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().contains(u"Fehlt.eml"_qs));
    EXPECT_TRUE(prompts.errors.first().contains(u"pic.jpg"_qs));
    // Closing now asks nothing: the template is saved.
    EXPECT_TRUE(f.templateFiles().FormCloseQuery());
    EXPECT_EQ(prompts.closeQuestions, 0);
}

}  // namespace
}  // namespace zw::test

namespace zw::test {
namespace {

TEST_F(FileCommandsTest, SavingMakesAMissingDocumentsFolderForTheMessage) {
    TMainForm& f = start();
    ASSERT_TRUE(QDir(documentsFolder).removeRecursively());
    const QString target = folders_.file(u"Brief.nld"_qs);
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(documents(u"Brief.eml"_qs)));
}

}  // namespace
}  // namespace zw::test
