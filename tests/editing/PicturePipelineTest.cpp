#include <gtest/gtest.h>

#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "PictureTestJpeg.h"
#include "editing/PictureNames.h"
#include "editing/PicturePipeline.h"
#include "editing/ResizeWidth.h"
#include "support/Files.h"
#include "support/PictureFiles.h"

namespace zw::test {
namespace {

// Six solid blocks, "A B C" over "D E F", each 32 pixels square.
const Rgb kBlockColours[6] = {{220, 30, 30},  {30, 200, 30},  {30, 30, 220},
                              {230, 230, 40}, {220, 40, 220}, {40, 220, 220}};
Rgb sixBlocks(int x, int y) {
    return kBlockColours[(y / 32) * 3 + x / 32];
}

// The letters of the blocks as they read upright, row by row, sampled at each block's centre.
QString readBlocks(const DecodedJpeg& d, int columns, int rows) {
    QString layout;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Rgb got = d.at((2 * c + 1) * d.size.width() / (2 * columns),
                                 (2 * r + 1) * d.size.height() / (2 * rows));
            QChar letter = u'?';
            for (int i = 0; i < 6; ++i)
                if (near(got, kBlockColours[i]))
                    letter = QChar(u'A' + i);
            layout += letter;
        }
        if (r + 1 < rows)
            layout += u'/';
    }
    return layout;
}

TEST(PicturePipeline, EveryOrientationComesOutUpright) {
    const struct {
        int orientation;
        const char* upright;
    } rows[] = {{1, "ABC/DEF"},  {2, "CBA/FED"},  {3, "FED/CBA"},  {4, "DEF/ABC"},
                {5, "AD/BE/CF"}, {6, "DA/EB/FC"}, {7, "FC/EB/DA"}, {8, "CF/BE/AD"}};
    const auto opaque = [](int x, int y) {
        const Rgb c = sixBlocks(x, y);
        return Rgba{c[0], c[1], c[2], 255};
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.orientation);
        const int other = row.orientation == 6 ? 3 : 6;
        const struct {
            const char* kind;
            QByteArray bytes;
        } photos[] = {
            {"JPEG with EXIF", makeJpeg({.size = {96, 64},
                                         .paint = sixBlocks,
                                         .orientation = row.orientation,
                                         .bigEndianExif = row.orientation % 2 == 0})},
            {"HEIC with EXIF", makeHeic({.size = {96, 64}, .paint = opaque, .exifOrientation = row.orientation})},
            // HEIF's own rotation and mirroring win over an EXIF orientation, which phones write as well.
            {"HEIC turned by itself",
             makeHeic({.size = {96, 64},
                       .paint = opaque,
                       .transform = row.orientation,
                       .exifOrientation = row.orientation == 1 ? 0 : other})},
        };
        const bool turned = row.orientation >= 5;
        const QSize upright = turned ? QSize(64, 96) : QSize(96, 64);
        for (const auto& photo : photos) {
            SCOPED_TRACE(photo.kind);
            EXPECT_EQ(readPictureInfo(photo.bytes).size, upright);
            // Same size (the re-encoding) and half size (the scaling) take the same way round.
            for (const QSize target : {QSize(), upright / 2}) {
                const DecodedJpeg d = decodeJpeg(transcodePicture(photo.bytes, target, kCopyQuality));
                EXPECT_EQ(d.size, target.isEmpty() ? upright : target);
                EXPECT_EQ(readBlocks(d, turned ? 2 : 3, turned ? 3 : 2), QString::fromLatin1(row.upright));
            }
        }
    }
}

TEST(PicturePipeline, ScalingRoundsHalvesToEvenAndTakesTheCentrePixel) {
    const struct {
        QSize picture;
        int width;
        QSize scaled;
    } rows[] = {{{600, 400}, 150, {150, 100}}, {{300, 201}, 150, {150, 100}}, {{300, 203}, 150, {150, 102}},
                {{100, 64}, 150, {150, 96}},   {{96, 64}, 48, {48, 32}},      {{2000, 8}, 150, {150, 1}}};
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.picture.width());
        const QString path = folder.file(u"p.jpg"_qs);
        writeAll(path, makeJpeg({.size = row.picture, .paint = [&](int x, int y) {
                                     return x < 32 && y < 32 ? kBlockColours[0] : kBlockColours[5];
                                 }}));
        ScalePictureToWidth(path, row.width, row.picture);
        const DecodedJpeg d = decodeJpeg(readAll(path));
        EXPECT_EQ(d.size, row.scaled);
        EXPECT_FALSE(d.progressive);
        EXPECT_EQ(d.firstQuantValue, quantValueForQuality(kScaledQuality));
    }
    // Centre pixels: the six 32-pixel blocks halved are 16-pixel blocks in their places.
    writeAll(folder.file(u"b.jpg"_qs), makeJpeg({.size = {96, 64}, .paint = sixBlocks}));
    ScalePictureToWidth(folder.file(u"b.jpg"_qs), 48, {96, 64});
    EXPECT_EQ(readBlocks(decodeJpeg(readAll(folder.file(u"b.jpg"_qs))), 3, 2), u"ABC/DEF"_qs);
}

TEST(PicturePipeline, EveryKindOfJpegBecomesAnRgbBaselineCopy) {
    const Rgb dark{20, 40, 120};
    const auto paint = [&](int x, int) { return x < 32 ? kBlockColours[0] : dark; };
    const struct {
        JpegRecipe::Kind kind;
        Rgb left, right;
    } rows[] = {{JpegRecipe::Colour, kBlockColours[0], dark},
                {JpegRecipe::Progressive, kBlockColours[0], dark},
                {JpegRecipe::Gray, {220, 220, 220}, {20, 20, 20}},
                {JpegRecipe::CmykAdobe, kBlockColours[0], dark},
                {JpegRecipe::CmykPlain, kBlockColours[0], dark}};
    TempFolder folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.kind));
        JpegRecipe recipe{.kind = row.kind, .size = {64, 32}, .paint = paint};
        if (row.kind == JpegRecipe::Gray)
            recipe.paint = [](int x, int) { return x < 32 ? Rgb{220, 220, 220} : Rgb{20, 20, 20}; };
        const QString path = folder.file(u"k.jpg"_qs);
        writeAll(path, makeJpeg(recipe));
        ReencodePicture(path, kCopyQuality);
        const DecodedJpeg d = decodeJpeg(readAll(path));
        EXPECT_EQ(d.size, QSize(64, 32));
        EXPECT_FALSE(d.progressive);
        EXPECT_FALSE(d.adobe);
        EXPECT_EQ(d.components, 3);
        EXPECT_EQ(d.firstQuantValue, quantValueForQuality(kCopyQuality));
        EXPECT_TRUE(near(d.at(8, 16), row.left, 12)) << d.at(8, 16)[0] << " " << d.at(8, 16)[1];
        EXPECT_TRUE(near(d.at(56, 16), row.right, 12)) << d.at(56, 16)[2];
    }
}

// A progressive picture whose last scan is repeated over and over: libjpeg only warns about it.
QByteArray repeatedScans(int times) {
    const QByteArray photo = makeJpeg({.kind = JpegRecipe::Progressive, .size = {16, 16}});
    const qsizetype lastScan = photo.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const QByteArray scan = photo.mid(lastScan, photo.size() - 2 - lastScan);
    return photo.left(lastScan) + scan.repeated(times) + QByteArray("\xFF\xD9", 2);
}

TEST(PicturePipeline, DamagedFilesAndPictureBombsAreRefused) {
    const QByteArray good = makeJpeg({.size = {64, 64}});
    // A 16 x 16 picture whose frame header claims 30000 x 30000: the SOF0 marker holds height, width.
    QByteArray bomb = makeJpeg({.size = {16, 16}});
    const qsizetype sof = bomb.indexOf(QByteArray("\xFF\xC0", 2));
    bomb[sof + 5] = char(30000 >> 8), bomb[sof + 6] = char(30000 & 0xFF);
    bomb[sof + 7] = char(30000 >> 8), bomb[sof + 8] = char(30000 & 0xFF);
    const struct {
        const char* name;
        QByteArray bytes;
        QString message;
    } rows[] = {
        {"truncated", good.left(good.size() / 2), QStringLiteral("JPEG-Fehler #%1").arg(JWRN_JPEG_EOF)},
        {"not a JPEG", "GIF89a......", QStringLiteral("JPEG-Fehler #%1").arg(JERR_NO_SOI)},
        {"empty", QByteArray(), QStringLiteral("JPEG-Fehler #%1").arg(JERR_INPUT_EMPTY)},
        {"bomb header", bomb,
         u"Das Bild ist mit 30000 × 30000 Pixeln zu groß. Zettelwerk verarbeitet Bilder bis 100 Megapixel."_qs},
        {"endless scans", repeatedScans(kMaxJpegScans + 20),
         u"Das Bild besteht aus mehr als 500 Durchgängen und wird nicht verarbeitet."_qs},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            transcodePicture(row.bytes, QSize(), kCopyQuality);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), row.message);
        }
    }
    // Below the limit, repeated scans are only a warning.
    EXPECT_EQ(decodeJpeg(transcodePicture(repeatedScans(10), QSize(), kCopyQuality)).size, QSize(16, 16));
    // A narrow, tall picture at a large width would be a bomb of our own making.
    EXPECT_THROW(checkTargetSize(10'000, scaledHeight(10'000, {1, 20'000})), Error);
}

TEST(PictureNames, CopiesEndInJpgAndStoredPathsNameAnExistingFile) {
    const struct {
        const char* chosen;
        const char* copy;
        const char* stored;
    } rows[] = {
        {"/home/a/Bild.jpg", "Bild.jpg", "/home/a/Bild.jpg"},
        {"/home/a/Logo.JPG", "Logo.jpg", "/prog/Images/Logo.jpg"},
        {"/home/a/Foto.neu.JPEG", "Foto_neu.jpg", "/prog/Images/Foto_neu.jpg"},
        {"/home/a.b/Bild.jpeg", "Bild.jpg", "/prog/Images/Bild.jpg"},
        {"/home/a/.jpg", "_jpg.jpg", "/prog/Images/_jpg.jpg"},
        {"/home/a/Fest: 2024\\Juli.jpg", "Fest_ 2024_Juli.jpg", "/prog/Images/Fest_ 2024_Juli.jpg"},
        {"/home/a\nb/Bild.jpg", "Bild.jpg", "/prog/Images/Bild.jpg"},
        {"/home/a/Fest \"<2024>\" *?|.jpg", "Fest __2024__ ___.jpg", "/prog/Images/Fest __2024__ ___.jpg"},
    };
    for (const auto& row : rows) {
        const PictureNames names = pictureNames(QString::fromUtf8(row.chosen), u"/prog/Images/"_qs);
        EXPECT_EQ(names.copyName, QString::fromUtf8(row.copy));
        EXPECT_EQ(names.copyPath, u"/prog/Images/"_qs + QString::fromUtf8(row.copy));
        EXPECT_EQ(names.storedPath, QString::fromUtf8(row.stored));
    }
}

TEST(ResizeWidth, WholeNumbersFromOneToTenThousand) {
    const struct {
        const char* text;
        WidthEntry::Kind kind;
        int width;
    } rows[] = {{"150", WidthEntry::Width, 150},      {" 200 ", WidthEntry::Width, 200},
                {"10000", WidthEntry::Width, 10000},  {"1", WidthEntry::Width, 1},
                {"0", WidthEntry::OutOfRange, 0},     {"-5", WidthEntry::OutOfRange, 0},
                {"10001", WidthEntry::OutOfRange, 0}, {"99999999999999999999", WidthEntry::OutOfRange, 0},
                {"abc", WidthEntry::NoInteger, 0},    {"", WidthEntry::NoInteger, 0},
                {"1.5", WidthEntry::NoInteger, 0},    {"$96", WidthEntry::NoInteger, 0}};
    for (const auto& row : rows) {
        const WidthEntry entry = readWidthEntry(QString::fromUtf8(row.text));
        EXPECT_EQ(entry.kind, row.kind) << row.text;
        EXPECT_EQ(entry.width, row.width) << row.text;
    }
}

}  // namespace
}  // namespace zw::test
