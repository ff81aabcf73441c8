// The preview page's bar and its messages, with a recording view and rendering stood in for.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "PreviewSamples.h"
#include "dispatch/ui/PreviewPart.h"
#include "platform/Launcher.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/RecordingPreview.h"

namespace zw::test {
namespace {

class PreviewPartTest : public ::testing::Test {
protected:
    PreviewPartTest() {
        page_.resize(800, 500);
        part_.setViewFactory(RecordingPreview::factory(log_));
        page_.show();
    }
    QWidget* shown() const { return part_.ViewStack->currentWidget(); }

    TempFolder folder_;
    QByteArray rendered_;  // what the stand-in rendering writes
    QStringList commits_;
    QWidget page_;
    FakePrompts prompts_;
    Launcher launcher_;
    std::shared_ptr<RecordingPreview::Log> log_ = std::make_shared<RecordingPreview::Log>();
    PreviewPart part_{&page_,
                      Folders::derive(folder_.path(), {}),
                      prompts_,
                      launcher_,
                      [this] { commits_.append(u"commit"_qs); },
                      [this](const QStringList& targets) {
                          for (const QString& target : targets) writeAll(target, rendered_);
                      }};
};

TEST_F(PreviewPartTest, BarShowsSizesSwitchesWidthAndPlainText) {
    rendered_ = sampleMessage(QByteArray(102 * 1024 + 10, 'x'), {}, "Zeile =E4hnlich");
    part_.ShowPreview();
    EXPECT_EQ(commits_.size(), 1);
    ASSERT_TRUE(log_->last);
    EXPECT_EQ(shown(), part_.view()->widget());
    EXPECT_TRUE(part_.SizeLabel->text().startsWith(u"Nachricht: 102,"_qs));
    EXPECT_FALSE(part_.ClipWarningLabel->text().isEmpty());

    part_.SmartphoneRadioButton->click();
    EXPECT_EQ(part_.ViewStack->width(), kSmartphoneWidth);
    EXPECT_EQ(log_->fits.last(), kSmartphoneWidth);
    // The view says how far it scaled the message down to the phone's width.
    part_.view()->onScaled(375.0 / 600);
    EXPECT_EQ(part_.ScaleLabel->text(), u"auf 62 % verkleinert"_qs);
    part_.view()->onScaled(1.0);
    EXPECT_EQ(part_.ScaleLabel->text(), QString());
    part_.view()->onScaled(0.5);
    part_.PlainTextCheckBox->click();
    EXPECT_EQ(shown(), part_.PlainTextView);
    EXPECT_EQ(part_.PlainTextView->toPlainText(), u"Zeile ähnlich"_qs);
    const QFontMetrics metrics(part_.PlainTextView->font());  // monospace: every letter as wide
    EXPECT_EQ(metrics.horizontalAdvance(u"iiii"_qs), metrics.horizontalAdvance(u"MMMM"_qs));
    part_.PlainTextCheckBox->click();
    part_.DesktopRadioButton->click();
    EXPECT_EQ(log_->fits.last(), 0);
    EXPECT_EQ(part_.ScaleLabel->text(), QString());
    EXPECT_EQ(shown(), part_.view()->widget());
    EXPECT_TRUE(QTest::qWaitFor([&] { return part_.ViewStack->width() > kSmartphoneWidth; }, 2000));

    // A smaller message: no warning.
    rendered_ = sampleMessage("<p>klein</p>", {});
    part_.ShowPreview();
    EXPECT_EQ(part_.ClipWarningLabel->text(), QString());
    EXPECT_EQ(log_->shown, QStringList({u"preview1"_qs, u"preview2"_qs}));
}

// Both files are written again, but a view that shows that very message is not made to load it again.
TEST_F(PreviewPartTest, TheSameMessageAgainLeavesTheViewAsItIs) {
    rendered_ = sampleMessage("<p>eins</p>", {});
    part_.ShowPreview();
    writeAll(part_.previewPath(2), "alt");
    part_.ShowPreview();
    EXPECT_EQ(readAll(part_.previewPath(2)), rendered_);
    EXPECT_EQ(part_.PreviewCounter, 0);
    EXPECT_EQ(log_->shown, QStringList{u"preview1"_qs});
    rendered_ = sampleMessage("<p>zwei</p>", {});
    part_.ShowPreview();
    EXPECT_EQ(log_->shown, QStringList({u"preview1"_qs, u"preview1"_qs}));
    EXPECT_EQ(commits_.size(), 3);
}

TEST_F(PreviewPartTest, AFileThatCannotBeShownIsSaidInThePage) {
    for (const QByteArray& bytes :
         {QByteArray("kein MIME"), QByteArray("Content-Type: text/plain\r\n\r\nText\r\n")}) {
        rendered_ = bytes;
        part_.ShowPreview();
        EXPECT_EQ(shown(), part_.FaultLabel);
        EXPECT_TRUE(part_.FaultLabel->text().startsWith(u"Die Vorschau kann nicht gezeigt werden"_qs))
            << part_.FaultLabel->text().toStdString();
    }
    EXPECT_EQ(log_->shown, QStringList());
    EXPECT_EQ(prompts_.errors, QStringList());

    rendered_ = sampleMessage("<p>wieder gut</p>", {});
    part_.ShowPreview();
    EXPECT_EQ(shown(), part_.view()->widget());
    // After a fault the same message is shown again.
    rendered_ = "kein MIME";
    part_.ShowPreview();
    rendered_ = sampleMessage("<p>wieder gut</p>", {});
    part_.ShowPreview();
    EXPECT_EQ(shown(), part_.view()->widget());
    EXPECT_EQ(log_->shown.size(), 2);
}

// A message laid out for phones is shown at the phone's width as it is; a classic one is scaled down.
TEST_F(PreviewPartTest, ThePhonesViewShowsThePhoneLayoutUnscaled) {
    bool phoneLayout = true;
    part_.phoneLayout = [&] { return phoneLayout; };
    rendered_ = sampleMessage("<p>mobil</p>", {});
    part_.ShowPreview();
    part_.SmartphoneRadioButton->click();
    EXPECT_EQ(part_.ViewStack->width(), kSmartphoneWidth);
    EXPECT_GT(log_->unscaled, 0);
    EXPECT_EQ(log_->fits, QList<int>{0});  // nothing scaled since the desktop's width
    EXPECT_EQ(part_.ScaleLabel->text(), u"auf 100 %"_qs);
    // The same message, now rendered for the classic layout.
    phoneLayout = false;
    part_.ShowPreview();
    EXPECT_EQ(log_->fits.last(), kSmartphoneWidth);
    part_.view()->onScaled(0.6);
    EXPECT_EQ(part_.ScaleLabel->text(), u"auf 60 % verkleinert"_qs);
}

}  // namespace
}  // namespace zw::test
