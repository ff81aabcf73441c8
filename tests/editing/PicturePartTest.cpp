#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>

#include <optional>

#include <sys/resource.h>

#include <csignal>

#include "PictureTestJpeg.h"
#include "editing/PicturePipeline.h"
#include "editing/ui/PicturePart.h"
#include "editing/ui/PicturePreview.h"
#include "editing/ui/ResizeForm.h"
#include "platform/Text.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/PictureFiles.h"
#include "template/BlockFiles.h"
#include "template/Session.h"
#include "template/ui/PicturePane.h"
#include "template/ui/TemplateControls.h"

namespace zw::test {
namespace {

class PicturePartTest : public ::testing::Test {
protected:
    PicturePartTest() {
        session.folders.images = folder.subfolder(u"Images"_qs);
        for (PicturePane** pane :
             {&controls.WebBrowser1, &controls.WebBrowser2, &controls.WebBrowser3, &controls.WebBrowser4})
            *pane = new PicturePane(&window);
    }
    void TearDown() override { EXPECT_EQ(prompts.unexpected, QStringList()); }

    // A picture in the user's own folder, offered by the open dialog.
    QString offer(const QString& name, const QByteArray& bytes) {
        const QString path = pictures + name;
        writeAll(path, bytes);
        prompts.pictureAnswers.append(path);
        return path;
    }
    QString images(const QString& name) const { return session.folders.images + name; }
    QStringList workFiles() const { return QDir(session.folders.images).entryList({u"*.zw-part"_qs}); }

    TempFolder folder;
    QString pictures = folder.subfolder(u"Bilder"_qs);
    TemplateSession session;
    TemplateControls controls;
    QWidget window;
    FakePrompts prompts;
    PicturePart part{controls, session, prompts};
};

TEST_F(PicturePartTest, BlockPictureIsScaledOnlyWhenAnsweredAndAlwaysReencodedAt80) {
    const struct {
        JpegRecipe picture;
        std::optional<int> answer;
        QSize copy;
    } rows[] = {{{.size = {600, 400}}, 200, {200, 133}},
                {{.size = {600, 400}}, std::nullopt, {600, 400}},
                {{.size = {100, 64}}, 150, {150, 96}},
                // A phone photo lying on its side: the question and the copy see it upright.
                {{.size = {96, 64}, .orientation = 6}, 32, {32, 48}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.copy.width());
        session.Saved = true;
        const QString chosen = offer(u"Bild.jpg"_qs, makeJpeg(row.picture));
        prompts.widthAnswers.append(row.answer);
        part.BitBtn2Click();
        const DecodedJpeg copy = decodeJpeg(readAll(images(u"Bild.jpg"_qs)));
        EXPECT_EQ(copy.size, row.copy);
        EXPECT_EQ(copy.firstQuantValue, quantValueForQuality(kCopyQuality));
        EXPECT_EQ(session.EditorPicture, storedFromPath(chosen));
        EXPECT_EQ(controls.WebBrowser4->target(), images(u"Bild.jpg"_qs));
        EXPECT_FALSE(session.Saved);
    }
    EXPECT_EQ(prompts.widthQuestions, QList<int>({150, 150, 150, 150}));
    EXPECT_EQ(workFiles(), QStringList());
}

TEST_F(PicturePartTest, GraphicsAreNeverScaledAndKeepTheirAlignment) {
    const struct {
        void (PicturePart::*open)();
        QByteArray TemplateSettings::*setting;
        PicturePane* TemplateControls::*pane;
    } rows[] = {
        {&PicturePart::OpenKopfBitBtnClick, &TemplateSettings::KopfLogo, &TemplateControls::WebBrowser1},
        {&PicturePart::Open2BitBtnClick, &TemplateSettings::SeperatorNews, &TemplateControls::WebBrowser2},
        {&PicturePart::Open3BitBtnClick, &TemplateSettings::SeperatorImpressum,
         &TemplateControls::WebBrowser3}};
    session.settings.LogoAlign = "center";
    for (const auto& row : rows) {
        // A phone's upper-case name: the copy is "Logo.jpg", and the setting names the copy, since
        // "Logo.jpg" beside the chosen file would be another file.
        offer(u"Logo.JPG"_qs, makeJpeg({.size = {400, 100}}));
        (part.*row.open)();
        EXPECT_EQ(session.settings.*row.setting, storedFromPath(images(u"Logo.jpg"_qs)));
        EXPECT_EQ((controls.*row.pane)->target(), images(u"Logo.jpg"_qs));
        EXPECT_EQ(decodeJpeg(readAll(images(u"Logo.jpg"_qs))).size, QSize(400, 100));
    }
    EXPECT_EQ(prompts.widthQuestions, QList<int>());
    EXPECT_EQ(session.settings.LogoAlign, "center");
}

TEST_F(PicturePartTest, APictureThatSomethingElseShowsIsNeverChanged) {
    session.folders.program = folder.subfolder(u"Programm"_qs);
    const QByteArray shared = makeJpeg({.size = {160, 120}});
    writeAll(images(u"Foto.jpg"_qs), shared);
    writeAll(images(u"Logo.jpg"_qs), shared);  // another picture that happens to have the name
    writeAll(images(u"Eigen.jpg"_qs), shared);
    const BlockFiles blocks(session.folders.program);
    blocks.write(1, {"Erster Block", storedFromPath(images(u"Foto.jpg"_qs)), "", "", "Text"});
    const struct {
        const char* name;
        QString chosen;
        void (PicturePart::*command)();
        QByteArray* setting;
        QByteArray shownNow;
        QString copy;  // where the copy goes; every other file keeps its bytes
        QSize size;
    } rows[] = {
        {"used by the other block", images(u"Foto.jpg"_qs), &PicturePart::BitBtn2Click, &session.EditorPicture, "",
         images(u"Foto_2.jpg"_qs), {150, 112}},
        {"a different file of that name", offer(u"Logo.jpg"_qs, makeJpeg({.size = {300, 200}})),
         &PicturePart::OpenKopfBitBtnClick, &session.settings.KopfLogo, "", images(u"Logo_2.jpg"_qs), {300, 200}},
        {"shown by nothing but the picture it replaces", images(u"Eigen.jpg"_qs), &PicturePart::BitBtn2Click,
         &session.EditorPicture, storedFromPath(images(u"Eigen.jpg"_qs)), images(u"Eigen.jpg"_qs), {150, 112}},
    };
    prompts.pictureAnswers.clear();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        *row.setting = row.shownNow;
        prompts.pictureAnswers.append(row.chosen);
        if (row.command == &PicturePart::BitBtn2Click)  // only a block picture gets the width question
            prompts.widthAnswers.append(150);
        (part.*row.command)();
        EXPECT_EQ(*row.setting, storedFromPath(row.copy));
        EXPECT_EQ(decodeJpeg(readAll(row.copy)).size, row.size);
        for (const QString& name : {u"Foto.jpg"_qs, u"Logo.jpg"_qs})
            EXPECT_EQ(readAll(images(name)), shared) << name.toStdString();
    }
}

TEST_F(PicturePartTest, FailuresLeaveThePreviousCopyAndTheSetting) {
    const QByteArray previous = makeJpeg({.size = {32, 32}});
    const QByteArray good = makeJpeg({.size = {64, 64}});
    const QByteArray photo = makeJpeg({.size = {400, 300}});
    const QByteArray png = makePng({});
    const struct {
        const char* name;
        QByteArray bytes;  // empty name below: no file at all
        std::optional<int> answer;
        const char* messageStart;
        const char* file = "Bild.jpg";
    } rows[] = {
        {"no JPEG", "not a picture", std::nullopt, "JPEG-Fehler #"},
        {"none of the kinds", "GIF89a\x01\0\x01\0", std::nullopt, "Die Datei ist kein Bild, das Zettelwerk lesen",
         "Bild.gif"},
        {"PNG cut off", png.left(png.size() - 30), std::nullopt, "Das PNG-Bild ist beschädigt", "Bild.png"},
        {"HEIF in a codec libheif lacks", heifWithItemType(makeHeic({}), "vvc1"), std::nullopt,
         "Das HEIF-Bild ist mit einem Verfahren gespeichert", "Bild.heic"},
        {"cut off in its picture data", photo.left(photo.size() * 3 / 4), std::nullopt, "JPEG-Fehler #"},
        {"too large at that width", makeJpeg({.size = {8, 20'000}}), 10'000, "Mit 10000 × 25000000 Pixeln"},
        {"missing", QByteArray(), std::nullopt, "Datei "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeAll(images(u"Bild.jpg"_qs), previous);
        session.EditorPicture = "C:\\alt\\Bild.jpg";
        session.Saved = true;
        const QString chosen = offer(QString::fromUtf8(row.file), row.bytes);
        if (row.bytes.isEmpty())
            QFile::remove(chosen);
        if (row.answer)
            prompts.widthAnswers.append(row.answer);
        prompts.widthQuestions.clear();
        try {
            part.BitBtn2Click();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(row.messageStart)))
                << e.message().toStdString();
        }
        EXPECT_EQ(readAll(images(u"Bild.jpg"_qs)), previous);
        EXPECT_EQ(session.EditorPicture, "C:\\alt\\Bild.jpg");
        EXPECT_FALSE(session.Saved);
        EXPECT_EQ(workFiles(), QStringList());
        // A picture that cannot be read is refused before the width question.
        EXPECT_EQ(prompts.widthQuestions.size(), row.answer ? 1 : 0);
    }

    // A disk that fills up during the copy: the file error of the working file, not a damaged picture.
    {
        rlimit before{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
        const rlimit small{rlim_t(photo.size() / 2), before.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        offer(u"Bild.jpg"_qs, photo);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        try {
            part.OpenKopfBitBtnClick();
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(
                e.message(),
                fileCreateError(QDir::toNativeSeparators(images(u"Bild.jpg.zw-part"_qs)), EFBIG).message());
        }
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(readAll(images(u"Bild.jpg"_qs)), previous);
        EXPECT_EQ(workFiles(), QStringList());
    }

    // Without an images folder the copy cannot be made: the error names the working file.
    QDir(session.folders.images).removeRecursively();
    offer(u"Bild.jpg"_qs, good);
    try {
        part.OpenKopfBitBtnClick();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  fileOpenError(QDir::toNativeSeparators(images(u"Bild.jpg.zw-part"_qs)), ENOENT).message());
    }

    // Cancelling the dialog changes nothing at all.
    prompts.pictureAnswers.append(QString());
    session.Saved = true;
    part.Open2BitBtnClick();
    EXPECT_TRUE(session.Saved);
}

TEST_F(PicturePartTest, PngHeifAndWebpBecomeJpegCopiesOnTheBackgroundColour) {
    session.settings.BKGColor = "#143C78";
    const Rgb background{0x14, 0x3C, 0x78};
    const auto redLeft = [](int x, int) { return x < 32 ? Rgba{220, 30, 30, 255} : Rgba{0, 255, 0, 0}; };
    const struct {
        void (PicturePart::*open)();
        const char* chosen;
        QByteArray bytes;
        std::optional<int> answer;
        const char* copy;
        QSize size;
    } rows[] = {
        {&PicturePart::OpenKopfBitBtnClick, "Logo.neu.png", makePng({.size = {64, 32}, .paint = redLeft}),
         std::nullopt, "Logo_neu.jpg", {64, 32}},
        // A PNG named as a JPEG is read as a PNG; the setting names the copy, not the PNG.
        {&PicturePart::Open2BitBtnClick, "Trenner.jpg", makePng({.size = {64, 32}, .paint = redLeft}),
         std::nullopt, "Trenner.jpg", {64, 32}},
        {&PicturePart::BitBtn2Click, "Bild.webp", makeWebp({.size = {64, 32}, .paint = redLeft}), std::nullopt,
         "Bild.jpg", {64, 32}},
        // A phone photo lying on its side, turned by HEIF's rotation: scaled upright, at 95 and then 80.
        {&PicturePart::BitBtn2Click, "IMG_0001.HEIC", makeHeic({.size = {96, 64}, .transform = 6}), 32,
         "IMG_0001.jpg", {32, 48}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.chosen);
        offer(QString::fromUtf8(row.chosen), row.bytes);
        if (row.open == &PicturePart::BitBtn2Click)
            prompts.widthAnswers.append(row.answer);
        (part.*row.open)();
        const QString copy = images(QString::fromUtf8(row.copy));
        const DecodedJpeg d = decodeJpeg(readAll(copy));
        EXPECT_EQ(d.size, row.size);
        EXPECT_EQ(d.firstQuantValue, quantValueForQuality(kCopyQuality));
        if (row.size.width() == 64) {
            EXPECT_TRUE(near(d.at(12, 16), {220, 30, 30}, 12));
            EXPECT_TRUE(near(d.at(52, 16), background, 12));
        }
        const QByteArray stored = row.open == &PicturePart::OpenKopfBitBtnClick ? session.settings.KopfLogo
                                  : row.open == &PicturePart::Open2BitBtnClick ? session.settings.SeperatorNews
                                                                               : session.EditorPicture;
        EXPECT_EQ(stored, storedFromPath(copy));
    }
    EXPECT_EQ(controls.WebBrowser1->target(), images(u"Logo_neu.jpg"_qs));
    EXPECT_EQ(controls.WebBrowser4->target(), images(u"IMG_0001.jpg"_qs));
    EXPECT_EQ(prompts.widthQuestions, QList<int>({150, 150}));
    EXPECT_EQ(workFiles(), QStringList());
}

TEST_F(PicturePartTest, TheDialogShowsEveryKindUpright) {
    PicturePane pane(&window);
    pane.resize(300, 300);
    const struct {
        const char* name;
        QByteArray bytes;
        QSize shown;  // empty: "Bild nicht gefunden"
    } rows[] = {{"IMG_0002.HEIC", makeHeic({.size = {96, 64}, .transform = 6}), {64, 96}},
                {"Bild.webp", makeWebp({.size = {64, 32}}), {64, 32}},
                {"Logo.png", makePng({.size = {40, 20}}), {40, 20}},
                {"Kaputt.heic", makeHeic({}).left(200), {0, 0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = pictures + QString::fromUtf8(row.name);
        writeAll(path, row.bytes);
        showChosenPicture(pane, path);
        EXPECT_EQ(pane.target(), path);
        EXPECT_EQ(pane.pixmap().size(), row.shown);
        EXPECT_EQ(pane.text(), row.shown.isEmpty() ? u"Bild nicht gefunden"_qs : QString());
    }
}

TEST(ResizeForm, AsksWithTheRecommendedWidthAndTakesWholeNumbersOnly) {
    const struct {
        const char* typed;
        bool closes;
        int width;
        QString message;
    } rows[] = {{"200", true, 200, {}},
                {"abc", true, 150, u"'abc' ist kein gültiger Integerwert"_qs},
                {"0", false, 150, u"Bitte geben Sie eine Breite von 1 bis 10.000 Pixeln ein."_qs},
                {"20000", false, 150, u"Bitte geben Sie eine Breite von 1 bis 10.000 Pixeln ein."_qs}};
    for (const auto& row : rows) {
        TResizeForm form;
        QStringList messages;
        form.report = [&](const QString& text) { messages.append(text); };
        form.ResizeWidth = 150;
        form.show();
        EXPECT_EQ(form.XEdit->text(), u"150"_qs);
        form.XEdit->setText(QString::fromUtf8(row.typed));
        form.BitBtn1Click();
        EXPECT_EQ(form.isVisible(), !row.closes) << row.typed;
        EXPECT_EQ(form.result() == QDialog::Accepted, row.closes) << row.typed;
        EXPECT_EQ(form.ResizeWidth, row.width) << row.typed;
        EXPECT_EQ(messages, row.message.isEmpty() ? QStringList() : QStringList{row.message});
    }
}

}  // namespace
}  // namespace zw::test
