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

namespace zw::test {

// Block lines of a template file: " ", the header, five lines.
QList<QByteArray> blockSection(int number, const QByteArray& headline, const QByteArray& picture = "pic.jpg",
                               const QByteArray& linkText = "Mehr", const QByteArray& linkUrl = "www.example.org",
                               const QByteArray& text = "Text");
// A whole template file with the given block sections appended.
QByteArray templateFile(const QByteArray& subject, const QList<QList<QByteArray>>& blocks);
// A small real JPEG.
void writePicture(const QString& path);

// A program folder and a documents folder of their own, with a default template of three blocks, a
// blank template, "Ver.ini", one shipped template in "Vorlagen/" and the pictures they use.
class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    // Starts the main window as the program does.
    TMainForm& start();
    QString program(const QString& name) const { return folders_.file(QStringLiteral("prog/") + name); }
    QString documents(const QString& name) const { return folders_.file(QStringLiteral("docs/") + name); }
    QStringList blockFiles() const;
    QStringList listItems() const;

    TempFolder folders_;
    QString programFolder;
    QString documentsFolder;
    QByteArray defaultTemplate;
    FakePrompts prompts;
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TWindowsInfo> windowsInfo;
    std::unique_ptr<TMainForm> form;
};

}  // namespace zw::test
