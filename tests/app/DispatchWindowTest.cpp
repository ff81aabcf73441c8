#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "AppFixture.h"
#include "template/ui/SettingsView.h"

namespace zw::test {
namespace {

// The serial-mail page and button, the help commands and the showcase at close, as the window runs them.
class DispatchWindowTest : public AppTest {
protected:
    DispatchWindowTest() : oldPrefix_(qgetenv("WINEPREFIX")) {
        qputenv("WINEPREFIX", QFile::encodeName(folders_.subfolder(u"wine"_qs)));
    }
    ~DispatchWindowTest() override { qputenv("WINEPREFIX", oldPrefix_); }
    QByteArray oldPrefix_;
};

TEST_F(DispatchWindowTest, SerialMailFromThePageAndTheButton) {
    TMainForm& f = start();
    ASSERT_TRUE(f.ZusatzProgrammeBitBtn->isEnabled());
    for (QAction* action : {f.Hilfedatei1, f.Update1, f.Info1}) EXPECT_TRUE(action->isEnabled());
    EXPECT_TRUE(f.BitBtn1->isEnabled());

    // An edit not yet stored in its block file goes into the message all the same.
    f.HeadLineEdit->setText(u"Frisch getippt"_qs);
    prompts.serialMailOfferAnswers = {false, false};
    f.PageControl1->setCurrentIndex(6);
    EXPECT_EQ(f.PageControl1->currentIndex(), 0);
    const QByteArray message = readAll(documents(u"Zettelwerk_Vorlage.eml"_qs));
    EXPECT_TRUE(message.contains("Frisch getippt"));
    QFile::remove(documents(u"Zettelwerk_Vorlage.eml"_qs));
    f.ZusatzProgrammeBitBtn->click();
    EXPECT_TRUE(QFile::exists(documents(u"Zettelwerk_Vorlage.eml"_qs)));
    EXPECT_EQ(prompts.serialMailOffers, 2);

    f.Info1->trigger();
    EXPECT_EQ(prompts.abouts, 1);
}

TEST_F(DispatchWindowTest, ShowcaseOnlyWhenTheWindowMayClose) {
    TMainForm& f = start();
    f.HeadLineEdit->setText(u"geändert"_qs);
    prompts.closeAnswers = {CloseAnswer::Abort, CloseAnswer::No};
    EXPECT_FALSE(f.close());
    EXPECT_EQ(prompts.showcases, 0);
    EXPECT_TRUE(f.close());
    EXPECT_EQ(prompts.showcases, 1);
}

}  // namespace
}  // namespace zw::test
