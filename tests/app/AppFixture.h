#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

#include "app/ProductBranding.h"
#include "app/WindowsInfo.h"
#include "app/fMain.h"
#include "support/FakePlatform.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/RecordingPreview.h"
#include "template/NldFormat.h"

namespace zw::test {

// Block lines of a template file: " ", the header, five lines.
QList<QByteArray> blockSection(int number, const QByteArray& headline, const QByteArray& picture = "pic.jpg");
// A whole template file with the given block sections appended.
QByteArray templateFile(const QByteArray& subject, const QList<QList<QByteArray>>& blocks);
// A program folder with the pictures the templates above use, and "Ver.ini".
void writeProgramFiles(const QString& folder);

// A program folder and a documents folder of their own, with a default template of three blocks, a
// blank template, "Ver.ini", one shipped template in "Vorlagen/" and the pictures they use.
class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;
    void TearDown() override { EXPECT_EQ(prompts.unexpected, QStringList()) << "questions nobody scripted"; }

    // Starts the main window as the program does.
    TMainForm& start();
    QString program(const QString& name) const { return programFolder + name; }
    QString documents(const QString& name) const { return documentsFolder + name; }
    QStringList blockFiles() const;
    QStringList listItems() const;
    QList<BlockSection> sections() const {
        return readBlockSections(readAll(form->session().CurrentTemplatePath));
    }

    TempFolder folders_;
    QString programFolder = folders_.subfolder(u"prog"_qs);
    QString documentsFolder = folders_.subfolder(u"docs"_qs);
    QByteArray defaultTemplate;
    FakePrompts prompts;
    FakePlatform platform{programFolder, documentsFolder};
    std::unique_ptr<TWindowsInfo> windowsInfo;
    std::unique_ptr<TMainForm> form;
    // What the preview page was sent; the window tests start no web engine.
    std::shared_ptr<RecordingPreview::Log> previews = std::make_shared<RecordingPreview::Log>();
};

}  // namespace zw::test
