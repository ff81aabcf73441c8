#include <QDir>

#include "StandIn.h"
#include "dispatch/HelpPart.h"
#include "dispatch/HelpTexts.h"

namespace zw::test {
namespace {

class HelpTest : public StandInTest {
protected:
    HelpPart& part(const QString& programFolder) {
        part_ = std::make_unique<HelpPart>(
            programFolder, prompts_, launcher_,
            HelpAddresses{programFolder + u"help/help.html"_qs, u"https://www.veltrak.example/zettelwerk"_qs,
                          u"info@veltrak.example"_qs});
        return *part_;
    }
    QString program_ = folder_.subfolder(u"program"_qs);
    std::unique_ptr<HelpPart> part_;
};

TEST_F(HelpTest, MarkerFilesSwitchTheTipAndTheShowcaseOff) {
    const struct {
        const char* name;
        bool markerBefore;
        bool ticked;
        int shown;
        bool markerAfter;
    } rows[] = {
        {"shown, not ticked", false, false, 1, false},
        {"shown, ticked", false, true, 1, true},
        {"switched off", true, false, 0, true},
    };
    for (const auto& row : rows) {
        for (const QString& marker : {kNoTipMarker, kNoShowcaseMarker}) {
            QFile::remove(program_ + marker);
            if (row.markerBefore)
                writeAll(program_ + marker, "");
        }
        prompts_ = FakePrompts();
        prompts_.tipAnswers = {row.ticked};
        prompts_.showcaseAnswers = {row.ticked};
        HelpPart& help = part(program_);
        help.FormActivate();
        help.FormActivate();  // activated again after a dialog: no second tip
        help.showShowcaseAtExit();
        EXPECT_EQ(prompts_.tips, row.shown) << row.name;
        EXPECT_EQ(prompts_.showcases, row.shown) << row.name;
        for (const QString& marker : {kNoTipMarker, kNoShowcaseMarker}) {
            EXPECT_EQ(QFile::exists(program_ + marker), row.markerAfter)
                << row.name << " " << marker.toStdString();
            if (row.markerAfter) {
                EXPECT_EQ(QFileInfo(program_ + marker).size(), 0);
            }
        }
    }
}

TEST_F(HelpTest, UnwritableMarkerIsNoFailure) {
    prompts_.tipAnswers = {true};
    prompts_.showcaseAnswers = {true};
    HelpPart& help = part(folder_.path() + u"missing/"_qs);
    help.FormActivate();
    help.showShowcaseAtExit();
    EXPECT_EQ(prompts_.showcases, 1);
    EXPECT_EQ(prompts_.errors, QStringList());
}

TEST_F(HelpTest, EachCommandOpensItsTargetAndNamesItsFailure) {
    QDir().mkpath(program_ + u"help"_qs);
    writeAll(program_ + u"help/help.html"_qs, "<html></html>");
    HelpPart& help = part(program_);
    QSignalSpy spy(&help, &HelpPart::launched);
    const QString productPage = u"https://www.veltrak.example/zettelwerk"_qs;
    const QString showcasePage = u"https://www.veltrak.example/etikettwerk"_qs;
    prompts_.showcaseClicks = [&](const auto& moreInfo) { moreInfo(showcasePage); };
    const struct {
        const char* name;
        std::function<void()> command;
        QString target;
        QString failure;
    } rows[] = {
        {"Hilfedatei", [&] { help.Hilfedatei1Click(); }, program_ + u"help/help.html"_qs, kBrowserFailure},
        {"Update", [&] { help.Update1Click(); }, productPage, kMailClientFailure},
        {"about box Update",
         [&] {
             prompts_.aboutClicks = [](const Prompts::AboutActions& a) { a.update(); };
             help.Info1Click();
         },
         productPage, kMailClientFailure},
        {"about box web label",
         [&] {
             prompts_.aboutClicks = [](const Prompts::AboutActions& a) { a.web(); };
             help.Info1Click();
         },
         productPage, kMailClientFailure},
        {"about box mail label",
         [&] {
             prompts_.aboutClicks = [](const Prompts::AboutActions& a) { a.mail(); };
             help.Info1Click();
         },
         u"mailto:info@veltrak.example"_qs, kMailClientFailure},
        {"Mehr Infos...",
         [&] {
             prompts_.showcaseAnswers = {false};
             help.showShowcaseAtExit();
         },
         showcasePage, kMailClientFailure},
    };
    for (const auto& row : rows) {
        for (const bool works : {true, false}) {
            forget();
            prompts_.plainMessages.clear();
            standIn(u"xdg-open"_qs, works ? "exit 0" : "exit 2");
            spy.clear();
            row.command();
            ASSERT_TRUE(settled(spy)) << row.name;
            EXPECT_EQ(recorded(), row.target + u'\n') << row.name;
            EXPECT_EQ(prompts_.plainMessages, works ? QStringList() : QStringList{row.failure}) << row.name;
        }
    }

    // A missing help page is the browser's failure; nothing is started.
    forget();
    prompts_.plainMessages.clear();
    QFile::remove(program_ + u"help/help.html"_qs);
    help.Hilfedatei1Click();
    EXPECT_EQ(prompts_.plainMessages, QStringList{kBrowserFailure});
    EXPECT_EQ(recorded(), QString());
    EXPECT_EQ(prompts_.abouts, 6);
}

}  // namespace
}  // namespace zw::test
