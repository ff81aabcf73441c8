// The window as a whole: its pages as commands, the controls waiting for their commands, the change
// marks and the names a screen reader reads.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "AppFixture.h"
#include "template/ui/TemplateControls.h"

namespace zw::test {
namespace {

// The window with recording stand-ins for the three dispatch commands.
class WindowTest : public AppTest {
protected:
    TMainForm& startRecording() {
        TMainForm& f = start();
        f.pageCommands = {[&] { calls.append(u"preview on %1"_qs.arg(page())); },
                          [&] { calls.append(u"single mail on %1"_qs.arg(page())); },
                          [&] { calls.append(u"serial mail on %1"_qs.arg(page())); }};
        f.enableCommands();
        f.show();
        QApplication::setActiveWindow(&f);
        return f;
    }
    int page() const { return form->PageControl1->currentIndex(); }
    void clickTab(int index) {
        QTabBar* bar = form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    QStringList calls;
};

TEST_F(WindowTest, TabsRunTheirPageAndCommandPagesEndOnTheNewsPage) {
    const struct {
        int tab;
        QString call;  // empty: nothing runs
        int pageAfter;
    } rows[] = {
        {1, {}, 1},
        {2, {}, 2},
        {3, {}, 3},
        {0, {}, 0},
        {4, u"preview on 4"_qs, 4},
        {5, u"single mail on 5"_qs, 0},
        {6, u"serial mail on 6"_qs, 0},
    };
    TMainForm& f = startRecording();
    // Names with their bytes: a page that rewrote a file in place would show too.
    const auto files = [this] {
        QStringList state;
        for (const QFileInfo& file : QDir(programFolder).entryInfoList(QDir::Files))
            state << file.fileName() + u' ' + QString::fromLatin1(readAll(file.filePath()).toBase64());
        return state;
    };
    const QStringList filesBefore = files();
    for (const auto& row : rows) {
        calls.clear();
        clickTab(row.tab);
        EXPECT_EQ(calls, row.call.isEmpty() ? QStringList() : QStringList{row.call}) << "tab " << row.tab;
        EXPECT_EQ(page(), row.pageAfter) << "tab " << row.tab;
        if (row.tab <= 3) {
            EXPECT_EQ(files(), filesBefore) << "tab " << row.tab;
        }
    }
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);

    // The wheel over the tabs selects nothing: it would send mails by scrolling.
    calls.clear();
    QTabBar* tabs = f.PageControl1->tabBar();
    for (const int delta : {-120, -120, 120}) {
        QWheelEvent wheel(QPointF(10, 5), tabs->mapToGlobal(QPointF(10, 5)), {}, QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(tabs, &wheel);
    }
    EXPECT_EQ(calls, QStringList());
    EXPECT_EQ(page(), 0);
}

TEST_F(WindowTest, ButtonsSendFromAnyPageTheSerialMailButtonStaysOnIt) {
    TMainForm& f = startRecording();
    clickTab(kColoursPage);
    QTest::mouseClick(f.ZusatzProgrammeBitBtn, Qt::LeftButton);
    EXPECT_EQ(calls, QStringList{u"serial mail on 3"_qs});
    EXPECT_EQ(page(), kColoursPage);

    calls.clear();
    QTest::mouseClick(f.StartMailBitBtn, Qt::LeftButton);
    EXPECT_EQ(calls, QStringList{u"single mail on 3"_qs});
    EXPECT_EQ(page(), kNewsPage);
}

TEST_F(WindowTest, AFailingCommandPageStillEndsOnTheNewsPage) {
    TMainForm& f = startRecording();
    f.pageCommands.startSerialMail = [] { throw Error(u"kaputt"_qs); };
    clickTab(kSerialMailPage);
    EXPECT_EQ(prompts.errors, QStringList{u"kaputt"_qs});
    EXPECT_EQ(page(), kNewsPage);
}

TEST_F(WindowTest, OpeningShowsThePreviewOnceNewTemplateShowsNothing) {
    TMainForm& f = startRecording();
    prompts.openAnswers = {program(u"Vorlagen/Sport.nld"_qs)};
    f.Vorlageffnen1->trigger();
    EXPECT_EQ(calls, QStringList{u"preview on 4"_qs});

    // Cancelled on the preview page: the preview is refreshed.
    calls.clear();
    prompts.openAnswers = {QString()};
    QTest::mouseClick(f.BitBtn3, Qt::LeftButton);
    EXPECT_EQ(calls, QStringList{u"preview on 4"_qs});

    calls.clear();
    f.NeueVorlage1->trigger();
    EXPECT_EQ(calls, QStringList());
    EXPECT_EQ(page(), kNewsPage);
}

TEST_F(WindowTest, CommandsWithoutAHandlerStayVisibleAndDisabled) {
    TMainForm& f = start();
    f.pageCommands = {};
    f.enableCommands();
    for (int tab : {kPreviewPage, kSingleMailPage, kSerialMailPage})
        EXPECT_FALSE(f.PageControl1->isTabEnabled(tab));
    EXPECT_FALSE(f.StartMailBitBtn->isEnabled());
    EXPECT_FALSE(f.ZusatzProgrammeBitBtn->isEnabled());

    f.pageCommands.sendSingleMail = [] {};
    f.enableCommands();
    EXPECT_TRUE(f.PageControl1->isTabEnabled(kSingleMailPage));
    EXPECT_TRUE(f.StartMailBitBtn->isEnabled());
    EXPECT_FALSE(f.PageControl1->isTabEnabled(kPreviewPage));
}

TEST_F(WindowTest, EveryTemplateFieldButTheDateDisplayMarksTheTemplateChanged) {
    TMainForm& f = startRecording();
    for (QLineEdit* edit : f.findChildren<QLineEdit*>()) {
        if (!edit->objectName().endsWith(u"Edit"_qs))
            continue;  // parts of other controls
        f.session().Saved = true;
        edit->setEnabled(true);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_X);
        EXPECT_EQ(f.session().Saved, edit == f.DateAnzeigeEdit) << edit->objectName().toStdString();
    }
    f.session().Saved = true;
    QTest::keyClick(f.Memo1, Qt::Key_X);
    EXPECT_FALSE(f.session().Saved);
    f.session().Saved = true;
    QTest::mouseClick(f.DateCheckBox, Qt::LeftButton);
    EXPECT_FALSE(f.session().Saved);
}

// The head picture is wider than many screens; it must not make the window wider than they are.
TEST_F(WindowTest, TheWindowFitsASmallScreenWhateverItsHeadPicture) {
    QDir().mkpath(program(u"recom"_qs));
    QImage head(1280, 57, QImage::Format_RGB32);
    head.fill(Qt::white);
    ASSERT_TRUE(head.save(program(u"recom/kopf.jpg"_qs), "JPG"));
    TMainForm& f = startRecording();
    ASSERT_FALSE(f.Image2->pixmap().isNull());
    EXPECT_LE(f.minimumSizeHint().width(), 1024);
}

TEST_F(WindowTest, EveryControlHasANameAScreenReaderReads) {
    TMainForm& f = startRecording();
    QStringList unnamed;
    int controls = 0;
    for (int tab = 0; tab <= kPreviewPage; ++tab) {
        f.PageControl1->setCurrentIndex(tab);
        for (QWidget* w : f.findChildren<QWidget*>()) {
            const bool control = w->focusPolicy() != Qt::NoFocus || w->inherits("zw::PicturePane") ||
                                 w->objectName().endsWith(u"ColorPanel"_qs);
            if (!control || !w->isVisible())
                continue;
            ++controls;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.append(QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName());
        }
    }
    unnamed.removeDuplicates();
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_GT(controls, 40);
}

}  // namespace
}  // namespace zw::test
