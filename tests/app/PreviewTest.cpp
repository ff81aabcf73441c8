// The preview page and the single mail in the window, with a recording view and a stand-in xdg-open.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "AppFixture.h"
#include "dispatch/HelpTexts.h"
#include "dispatch/ui/PreviewPart.h"
#include "send/FieldColumns.h"
#include "send/ui/FieldsPart.h"

namespace zw::test {
namespace {

class PreviewTest : public AppTest {
protected:
    PreviewTest() : oldPath_(qgetenv("PATH")) { qputenv("PATH", bin_.toUtf8()); }
    ~PreviewTest() override { qputenv("PATH", oldPath_); }

    TMainForm& startShown() {
        TMainForm& f = start();
        f.show();
        QApplication::setActiveWindow(&f);
        return f;
    }
    // The desktop's opener: records its argument, then behaves as told.
    // The stand-in names what it opened in a file that appears whole: a test waiting for the file
    // must not read it half written.
    void xdgOpen(const QByteArray& behaviour) {
        const QString path = bin_ + u"xdg-open"_qs;
        writeAll(path,
                 "#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(opened_) + ".part' && /bin/mv '" +
                     QFile::encodeName(opened_) + ".part' '" + QFile::encodeName(opened_) + "'\n" + behaviour + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        // The desktop names a mail program that opens message files as new messages.
        const QString mime = bin_ + u"xdg-mime"_qs;
        writeAll(mime, "#!/bin/sh\necho thunderbird.desktop\n");
        QFile::setPermissions(mime, QFile::permissions(mime) | QFile::ExeOwner);
    }
    void clickTab(int index) {
        QTabBar* bar = form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    QByteArray preview(int n) const { return readAll(program(u"preview%1.eml"_qs.arg(n))); }

    TempFolder tools_;
    QString bin_ = tools_.subfolder(u"bin"_qs);
    QString opened_ = tools_.file(u"opened"_qs);
    QByteArray oldPath_;
};

TEST_F(PreviewTest, PreviewsAlternateBetweenTwoIdenticalFilesAndShowUncommittedEdits) {
    TMainForm& f = startShown();
    const int counters[] = {1, 0, 1};
    for (int i = 0; i < 3; ++i) {
        f.HeadLineEdit->setText(u"Getippt %1 über"_qs.arg(i));  // not committed yet
        clickTab(kNewsPage);
        clickTab(kPreviewPage);
        EXPECT_EQ(f.preview().PreviewCounter, counters[i]);
        EXPECT_EQ(preview(1), preview(2));
        ASSERT_TRUE(previews->last);
        EXPECT_TRUE(previews->last->html.contains("Getippt " + QByteArray::number(i) +
                                                  " \xFC"
                                                  "ber"));
    }
    EXPECT_EQ(previews->shown, QStringList({u"preview1"_qs, u"preview2"_qs, u"preview1"_qs}));
    EXPECT_EQ(prompts.errors, QStringList());
}

TEST_F(PreviewTest, SingleMailHandsOverTheFreshPreviewOneAndLeavesCounterAndPageShown) {
    TMainForm& f = startShown();
    xdgOpen("exit 0");
    clickTab(kPreviewPage);
    const QByteArray shown = previews->last->html;
    f.HeadLineEdit->setText(u"Nur in der Einzelmail"_qs);
    QTest::mouseClick(f.StartMailBitBtn, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(opened_); }, 5000));
    EXPECT_EQ(readAll(opened_), program(u"preview1.eml"_qs).toUtf8());
    EXPECT_TRUE(preview(1).contains("Nur in der Einzelmail"));
    EXPECT_FALSE(preview(2).contains("Nur in der Einzelmail"));
    EXPECT_EQ(f.preview().PreviewCounter, 1);
    EXPECT_EQ(previews->shown, QStringList{u"preview1"_qs});  // shown from memory, not refreshed
    EXPECT_EQ(previews->last->html, shown);
    EXPECT_EQ(f.PageControl1->currentIndex(), kNewsPage);
    QTest::qWait(Launcher::kGracePeriodMs + 200);
    EXPECT_EQ(prompts.plainMessages, QStringList());
}

// "Feld einfügen" puts a field where the cursor is and offers the last list's columns; the preview
// shows the recipient chosen, the single mail the sample.
TEST_F(PreviewTest, FieldButtonAndPreviewForOneRecipient) {
    TMainForm& f = startShown();
    xdgOpen("exit 0");
    writeAll(tools_.file(u"liste.csv"_qs), "Vorname;E-Mail;Ort\r\nAnna;anna@example.org;Berg\r\n");
    send::rememberLastList(programFolder, tools_.file(u"liste.csv"_qs));
    f.HeadLineEdit->setText(u"Hallo "_qs);
    f.HeadLineEdit->setFocus();
    f.fields().insertField(u"Vorname"_qs);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Hallo {Vorname}"_qs);
    f.fields().refresh();
    EXPECT_EQ(f.fields().menuFields(),
              (QStringList{u"Vorname"_qs, u"E-Mail"_qs, u"Ort"_qs}));

    clickTab(kPreviewPage);
    EXPECT_TRUE(preview(1).contains("Hallo Vorname"));
    ASSERT_EQ(f.fields().PreviewForBox->count(), 2);
    EXPECT_EQ(f.fields().PreviewForBox->itemText(1), u"Anna <anna@example.org>"_qs);
    f.fields().PreviewForBox->setCurrentIndex(1);
    Q_EMIT f.fields().PreviewForBox->activated(1);
    EXPECT_TRUE(preview(1).contains("Hallo Anna"));
    EXPECT_TRUE(previews->last->html.contains("Hallo Anna"));

    QTest::mouseClick(f.StartMailBitBtn, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(opened_); }, 5000));
    EXPECT_TRUE(preview(1).contains("Hallo Vorname"));
    EXPECT_EQ(prompts.errors, QStringList());
}

TEST_F(PreviewTest, SingleMailThatCannotStartTheMailProgramSaysSoAndKeepsTheFile) {
    const QString& failure = kSingleMailFailure;
    TMainForm& f = startShown();
    for (const QByteArray& behaviour : {QByteArray("exit 4"), QByteArray()}) {
        prompts.plainMessages.clear();
        if (behaviour.isEmpty())
            QFile::remove(bin_ + u"xdg-open"_qs);  // none on the machine
        else
            xdgOpen(behaviour);
        clickTab(kSingleMailPage);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !prompts.plainMessages.isEmpty(); }, 5000));
        EXPECT_EQ(prompts.plainMessages, QStringList{failure}) << behaviour.constData();
        EXPECT_TRUE(QFile::exists(program(u"preview1.eml"_qs)));
        EXPECT_EQ(f.PageControl1->currentIndex(), kNewsPage);
    }
    EXPECT_TRUE(failure.endsWith(u"system!"_qs));
}

TEST_F(PreviewTest, AFailedRenderingIsReportedAndThePageKeepsTheLastGoodPreview) {
    TMainForm& f = startShown();
    clickTab(kPreviewPage);
    ASSERT_EQ(previews->shown.size(), 1);
    const auto lastGood = previews->last;
    QFile::remove(program(u"Images/pic.jpg"_qs));
    clickTab(kNewsPage);
    clickTab(kPreviewPage);
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(previews->shown.size(), 1);
    EXPECT_EQ(previews->last, lastGood);
    EXPECT_EQ(f.preview().PreviewCounter, 1);
}

}  // namespace
}  // namespace zw::test
