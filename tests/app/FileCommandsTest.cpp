// New, open, save, save under a new name and the question on close, judged by the files they leave.
#include <QDir>
#include <QFile>
#include <QLineEdit>

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
    QString defaultPath() const { return program(QStringLiteral("Zettelwerk_Vorlage.nld")); }
    QByteArray subjectIn(const QString& path) const { return readSettings(readAll(path)).Berteff; }
    // An edit that reaches the working copy, as every write back does.
    void editSubjectAndWriteBack(TMainForm& f, const QString& subject) {
        f.BetreffEdit->setText(subject);
        f.blockList().ListBox1Enter();
    }
};

TEST_F(FileCommandsTest, FirstSaveAsksForANameAndWritesTemplateMessageAndLastFile) {
    TMainForm& f = start();
    editSubjectAndWriteBack(f, QStringLiteral("Winter"));
    const QString target = documents(QStringLiteral("Mein.Newsletter.nld"));
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();

    EXPECT_EQ(prompts.saveSuggestions, QStringList({QString()}));
    EXPECT_EQ(prompts.saveStartFolders, QStringList({documentsFolder}));
    EXPECT_EQ(subjectIn(target), QByteArray("Winter"));
    EXPECT_TRUE(readAll(documents(QStringLiteral("Mein.eml"))).contains("\r\nSubject: Winter\r\n"));
    EXPECT_EQ(readAll(program(QStringLiteral("LastFile.ini"))), target.toUtf8() + "\r\n");
    EXPECT_EQ(readAll(program(QStringLiteral("Old.nld"))), readAll(target));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Zettelwerk pro [Mein.Newsletter.nld]"));
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(f.session().SavePath, target);
    // The default template we left is as it was shipped.
    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();

    // The next save writes there without asking.
    editSubjectAndWriteBack(f, QStringLiteral("Frühling"));
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_EQ(prompts.saveSuggestions.size(), 1);
    EXPECT_EQ(subjectIn(target), QByteArray("Fr\xfchling"));
}

TEST_F(FileCommandsTest, CancellingTheSaveDialogLeavesTheTemplateUnsaved) {
    TMainForm& f = start();
    f.BetreffEdit->setText(QStringLiteral("Winter"));
    prompts.saveAnswers = {QString()};
    f.templateFiles().Vorlagespeichernunter1Click();
    EXPECT_FALSE(f.session().Saved);
    EXPECT_FALSE(f.session().CloseAllowed);
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("LastFile.ini"))));
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
        editSubjectAndWriteBack(f, QStringLiteral("Geändert"));
        prompts.closeAnswers = {row.answer};
        prompts.saveAnswers = row.saveAnswers;

        EXPECT_EQ(f.templateFiles().FormCloseQuery(), row.closes);
        EXPECT_EQ(prompts.closeQuestions, 1);
        EXPECT_EQ(readAll(defaultPath()) == defaultTemplate, row.fileRestored);
        EXPECT_EQ(f.session().Saved, false);
        EXPECT_TRUE(QDir(documentsFolder).entryList({QStringLiteral("*.eml")}).isEmpty());
        prompts.closeQuestions = 0;
        form.reset();
    }
}

TEST_F(FileCommandsTest, NeinAfterASaveKeepsWhatWasSaved) {
    TMainForm& f = start();
    const QString target = documents(QStringLiteral("Brief.nld"));
    editSubjectAndWriteBack(f, QStringLiteral("Gespeichert"));
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();
    editSubjectAndWriteBack(f, QStringLiteral("Verworfen"));
    prompts.closeAnswers = {CloseAnswer::No};
    EXPECT_TRUE(f.templateFiles().FormCloseQuery());
    EXPECT_EQ(subjectIn(target), QByteArray("Gespeichert"));
}

TEST_F(FileCommandsTest, NewTemplateAfterNeinRestoresTheFileLeft) {
    TMainForm& f = start();
    editSubjectAndWriteBack(f, QStringLiteral("Verworfen"));
    ASSERT_NE(readAll(defaultPath()), defaultTemplate);
    prompts.closeAnswers = {CloseAnswer::No};
    f.templateFiles().NeueVorlage1Click();

    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Zettelwerk pro [NEW.nld]"));
    EXPECT_EQ(f.session().CurrentTemplatePath, program(QStringLiteral("NEW.nld")));
    EXPECT_TRUE(f.session().SavePath.isEmpty());
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(f.ListBox1->count(), 0);
    EXPECT_EQ(readAll(program(QStringLiteral("Old.nld"))), readAll(program(QStringLiteral("NEW.nld"))));
    EXPECT_FALSE(QFile::exists(program(QStringLiteral("LastFile.ini"))));
}

TEST_F(FileCommandsTest, DismissingTheQuestionStopsNewAndOpen) {
    for (CloseAnswer answer : {CloseAnswer::Cancel, CloseAnswer::Abort}) {
        TMainForm& f = start();
        editSubjectAndWriteBack(f, QStringLiteral("Bleibt"));
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
    editSubjectAndWriteBack(f, QStringLiteral("Verworfen"));
    prompts.closeAnswers = {CloseAnswer::Yes};
    prompts.saveAnswers = {QString()};
    f.templateFiles().NeueVorlage1Click();
    EXPECT_EQ(f.session().CurrentTemplatePath, program(QStringLiteral("NEW.nld")));
    EXPECT_EQ(readAll(defaultPath()), defaultTemplate);
}

TEST_F(FileCommandsTest, OpenLoadsRemembersAndTakesTheRevertCopy) {
    const QString chosen = documents(QStringLiteral("Sport.nld"));
    TMainForm& f = start();  // the first run copies the shipped "Sport.nld" here
    ASSERT_TRUE(QFile::exists(chosen));
    prompts.openAnswers = {chosen};
    f.templateFiles().Vorlageffnen1Click();

    EXPECT_EQ(prompts.openStartFolders, QStringList({documentsFolder}));
    EXPECT_EQ(prompts.closeQuestions, 0);
    EXPECT_EQ(f.session().CurrentTemplatePath, chosen);
    EXPECT_EQ(f.session().SavePath, chosen);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Zettelwerk pro [Sport.nld]"));
    EXPECT_EQ(readAll(program(QStringLiteral("LastFile.ini"))), chosen.toUtf8() + "\r\n");
    EXPECT_EQ(readAll(program(QStringLiteral("Old.nld"))), readAll(chosen));
    EXPECT_EQ(listItems(), QStringList({QStringLiteral("Meldung1:  Spiel")}));
    EXPECT_TRUE(f.session().Saved);

    // A cancelled dialog changes nothing.
    prompts.openAnswers = {QString()};
    f.templateFiles().Vorlageffnen1Click();
    EXPECT_EQ(f.session().CurrentTemplatePath, chosen);
}

TEST_F(FileCommandsTest, SavingTheBlankTemplateUnderANewNameKeepsItBlank) {
    TMainForm& f = start();
    f.templateFiles().NeueVorlage1Click();
    const QByteArray blank = readAll(program(QStringLiteral("NEW.nld")));
    f.blockList().NewBitBtnClick();
    f.HeadLineEdit->setText(QStringLiteral("Erste Meldung"));
    editSubjectAndWriteBack(f, QStringLiteral("Neu"));
    ASSERT_NE(readAll(program(QStringLiteral("NEW.nld"))), blank);

    prompts.saveAnswers = {documents(QStringLiteral("Neu.nld"))};
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_EQ(readAll(program(QStringLiteral("NEW.nld"))), blank);
    EXPECT_EQ(readBlockSections(readAll(documents(QStringLiteral("Neu.nld")))).size(), 1);
}

TEST_F(FileCommandsTest, AMessageThatCannotBeWrittenStillSavesTheTemplate) {
    QFile::remove(program(QStringLiteral("Images/pic.jpg")));
    TMainForm& f = start();
    editSubjectAndWriteBack(f, QStringLiteral("Ohne Bild"));
    const QString target = documents(QStringLiteral("Fehlt.nld"));
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlageppeichern1Click();

    EXPECT_EQ(subjectIn(target), QByteArray("Ohne Bild"));
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(readAll(program(QStringLiteral("LastFile.ini"))), target.toUtf8() + "\r\n");
    EXPECT_FALSE(QFile::exists(documents(QStringLiteral("Fehlt.eml"))));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors.first().contains(QStringLiteral("Fehlt.eml")));
    EXPECT_TRUE(prompts.errors.first().contains(QStringLiteral("pic.jpg")));
    // Closing now asks nothing: the template is saved.
    EXPECT_TRUE(f.templateFiles().FormCloseQuery());
    EXPECT_EQ(prompts.closeQuestions, 0);
}

}  // namespace
}  // namespace zw::test
