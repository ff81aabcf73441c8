// A template named from outside (the command line, a second copy) opens as the open command opens one.
#include <QFile>
#include <QLineEdit>

#include "AppFixture.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw::test {
namespace {

TEST_F(AppTest, ATemplateFromOutsideOpensAsTheOpenCommandWithItsQuestionOrIsRefused) {
    const QString other = documents(u"Anderer.nld"_qs);
    writeAll(other, templateFile("Anderer", {blockSection(1, "A"), blockSection(2, "B")}));
    QList<QList<QByteArray>> tooMany;
    for (int k = 1; k <= 1000; ++k) tooMany.append(blockSection(k, "x"));
    const QString huge = documents(u"Riesig.nld"_qs);
    writeAll(huge, templateFile("Riesig", tooMany));
    TMainForm& f = start();
    const QString started = f.session().CurrentTemplatePath;

    // Refused: nothing asked, nothing changed.
    for (const QString& path : {documents(u"fehlt.nld"_qs), huge}) {
        f.BetreffEdit->setText(u"ungespeichert"_qs);
        EXPECT_THROW(f.templateFiles().openTemplateFile(path), Error);
        EXPECT_EQ(prompts.closeQuestions, 0);
        EXPECT_EQ(f.session().CurrentTemplatePath, started);
        EXPECT_EQ(f.BetreffEdit->text(), u"ungespeichert"_qs);
    }
    EXPECT_EQ(readAll(huge), templateFile("Riesig", tooMany));

    // Unsaved changes: the question first; "Abbrechen" keeps the window as it is.
    prompts.closeAnswers = {CloseAnswer::Abort, CloseAnswer::No};
    f.templateFiles().openTemplateFile(other);
    EXPECT_EQ(f.session().CurrentTemplatePath, started);
    f.templateFiles().openTemplateFile(other);
    EXPECT_EQ(prompts.closeQuestions, 2);
    EXPECT_EQ(f.session().CurrentTemplatePath, other);
    EXPECT_EQ(f.session().SavePath, other);
    EXPECT_EQ(listItems().size(), 2);
    EXPECT_EQ(readAll(program(u"LastFile.ini"_qs)), QFile::encodeName(other) + "\r\n");
    EXPECT_TRUE(f.session().Saved);
}

}  // namespace
}  // namespace zw::test
