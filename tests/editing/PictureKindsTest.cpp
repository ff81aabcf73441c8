// PNG, HEIF and WebP pictures on their way to the JPEG copy.
#include <gtest/gtest.h>

#include "PictureTestJpeg.h"
#include "editing/HeifBoxes.h"
#include "editing/PictureKinds.h"
#include "editing/PicturePipeline.h"
#include "support/PictureFiles.h"

namespace zw::test {
namespace {

constexpr Rgb kRed{220, 30, 30};
constexpr Rgba kRedA{220, 30, 30, 255};
const ColorValue kBackground = 0x783C14;  // "#143C78"
constexpr Rgb kBackgroundRgb{0x14, 0x3C, 0x78};

// Opaque red on the left, the given pixel on the right.
Paint leftRed(Rgba right) {
    return [right](int x, int) { return x < 32 ? kRedA : right; };
}
// A 64 x 32 picture's left and right halves, sampled in their middles.
void expectHalves(const QByteArray& copy, const Rgb& left, const Rgb& right) {
    const DecodedJpeg d = decodeJpeg(copy);
    EXPECT_EQ(d.size, QSize(64, 32));
    EXPECT_FALSE(d.progressive);
    EXPECT_EQ(d.components, 3);
    EXPECT_EQ(d.firstQuantValue, quantValueForQuality(kCopyQuality));
    EXPECT_TRUE(near(d.at(12, 16), left, 12)) << d.at(12, 16)[0] << "," << d.at(12, 16)[1] << "," << d.at(12, 16)[2];
    EXPECT_TRUE(near(d.at(52, 16), right, 12)) << d.at(52, 16)[0] << "," << d.at(52, 16)[1] << "," << d.at(52, 16)[2];
}

TEST(PictureKinds, TheFirstBytesTellTheKind) {
    const auto ftyp = [](const char* brands) { return QByteArray("\0\0\0\x18" "ftyp", 8) + QByteArray(brands, 16); };
    const struct {
        const char* name;
        QByteArray bytes;
        PictureKind kind;
    } rows[] = {{"JPEG", makeJpeg({.size = {8, 8}}), PictureKind::Jpeg},
                {"PNG", makePng({.size = {8, 8}}), PictureKind::Png},
                {"WebP", makeWebp({.size = {8, 8}}), PictureKind::WebP},
                {"HEIC", makeHeic({.size = {8, 8}}), PictureKind::Heif},
                {"HEIF brands only in the compatible list", ftyp("mif1\0\0\0\0jpegmiaf"), PictureKind::Heif},
                {"an MP4 video", ftyp("isom\0\0\0\0isommp42"), PictureKind::Unknown},
                {"GIF", "GIF89a\x01\0\x01\0", PictureKind::Unknown},
                {"RIFF but no WebP", "RIFF\x04\0\0\0WAVE", PictureKind::Unknown},
                {"empty", QByteArray(), PictureKind::Unknown}};
    for (const auto& row : rows) EXPECT_EQ(int(pictureKind(row.bytes)), int(row.kind)) << row.name;
}

TEST(PictureKinds, EveryKindBecomesABaselineCopyWithTransparentPartsOnTheBackground) {
    const Rgba clear{0, 255, 0, 0};  // a colour that must not show
    const Rgba gray20{20, 20, 20, 255};
    // Half-transparent near-white over the background: (250 * 128 + background * 127) / 255.
    const Rgb halfWhite{135, 155, 185};
    const auto gray = [](int x, int) { return x < 32 ? Rgba{220, 220, 220, 255} : Rgba{20, 20, 20, 255}; };
    const struct {
        const char* name;
        QByteArray bytes;
        Rgb left, right;
    } rows[] = {
        {"PNG RGBA", makePng({.size = {64, 32}, .paint = leftRed(clear)}), kRed, kBackgroundRgb},
        {"PNG RGBA 16-bit, interlaced",
         makePng({.size = {64, 32}, .paint = leftRed({250, 250, 250, 128}), .bitDepth = 16, .interlaced = true}),
         kRed, halfWhite},
        {"PNG palette with transparency", makePng({.kind = PngRecipe::Palette, .size = {64, 32}, .paint = leftRed(clear)}),
         kRed, kBackgroundRgb},
        {"PNG RGB", makePng({.kind = PngRecipe::Rgb, .size = {64, 32}, .paint = leftRed(gray20)}), kRed, {20, 20, 20}},
        {"PNG gray 16-bit", makePng({.kind = PngRecipe::Gray, .size = {64, 32}, .paint = gray, .bitDepth = 16}),
         {220, 220, 220}, {20, 20, 20}},
        {"WebP lossy with alpha", makeWebp({.size = {64, 32}, .paint = leftRed(clear)}), kRed, kBackgroundRgb},
        {"WebP lossless", makeWebp({.size = {64, 32}, .paint = leftRed(clear), .lossless = true}), kRed,
         kBackgroundRgb},
        {"WebP animation: its first frame",
         makeWebp({.size = {64, 32},
                   .paint = leftRed(clear),
                   .laterFrames = {[](int, int) { return Rgba{40, 220, 220, 255}; }}}),
         kRed, kBackgroundRgb},
        {"HEIC", makeHeic({.size = {64, 32}, .paint = leftRed(gray20)}), kRed, {20, 20, 20}},
        {"HEIC with alpha", makeHeic({.size = {64, 32}, .paint = leftRed(clear), .alpha = true}), kRed,
         kBackgroundRgb},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readPictureInfo(row.bytes).size, QSize(64, 32));
        expectHalves(transcodePicture(row.bytes, QSize(), kCopyQuality, kBackground), row.left, row.right);
    }
    // HEVC codes whole blocks and crops them to odd sizes.
    for (const QSize odd : {QSize(65, 33), QSize(31, 17)})
        EXPECT_EQ(decodeJpeg(transcodePicture(makeHeic({.size = odd}), QSize(), kCopyQuality)).size, odd);
}

TEST(PictureKinds, ColourProfilesAreBroughtToSrgb) {
    const Rgb p3{200, 100, 60};
    const auto inP3 = [&](int, int) { return Rgba{p3[0], p3[1], p3[2], 255}; };
    const Rgb srgb = displayP3ToSrgb(p3);
    ASSERT_FALSE(near(srgb, p3, 8));  // the conversion shows
    const struct {
        const char* name;
        QByteArray bytes;
        Rgb expected;
    } rows[] = {{"PNG without a profile", makePng({.kind = PngRecipe::Rgb, .paint = inP3}), p3},
                {"PNG with an ICC profile", makePng({.kind = PngRecipe::Rgb, .paint = inP3, .icc = displayP3Profile()}),
                 srgb},
                {"WebP with an ICC profile", makeWebp({.paint = inP3, .lossless = true, .icc = displayP3Profile()}),
                 srgb},
                {"HEIC in Display P3", makeHeic({.paint = inP3, .displayP3 = true}), srgb}};
    for (const auto& row : rows) {
        const Rgb got = decodeJpeg(transcodePicture(row.bytes, QSize(), kCopyQuality)).at(32, 32);
        EXPECT_TRUE(near(got, row.expected, 5)) << row.name << ": " << got[0] << "," << got[1] << "," << got[2];
    }
}

// A PNG whose header declares another size, its checksum made to fit.
QByteArray pngDeclaring(QByteArray png, quint32 width, quint32 height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    const quint32 crc = pngCrc(png.mid(12, 17));
    for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

QByteArray box(const char* type, const QByteArray& body) {
    const quint32 size = quint32(body.size() + 8);
    QByteArray b;
    for (int shift : {24, 16, 8, 0}) b += char(size >> shift);
    return b + type + body;
}

// An HEVC sequence parameter set declaring width x height: one sub-layer, profile, tier and level all
// zero, as a NAL unit with its emulation prevention bytes.
QByteArray sequenceParameterSet(quint32 width, quint32 height) {
    QList<bool> bits;
    const auto put = [&](quint32 value, int n) {
        for (int i = n - 1; i >= 0; --i) bits.append((value >> i) & 1);
    };
    const auto golomb = [&](quint32 value) {
        const quint32 v = value + 1;
        int length = 0;
        while ((v >> length) > 1) ++length;
        put(0, length);
        put(v, length + 1);
    };
    put(0, 4), put(0, 3), put(1, 1);
    for (int i = 0; i < 3; ++i) put(0, 32);  // profile, tier and level
    golomb(0), golomb(1), golomb(width), golomb(height);
    put(1, 1);  // the stop bit
    while (bits.size() % 8) bits.append(false);
    QByteArray nal("\x42\x01", 2);  // NAL unit type 33
    int zeros = 0;
    for (qsizetype i = 0; i < bits.size(); i += 8) {
        int byte = 0;
        for (int j = 0; j < 8; ++j) byte = byte << 1 | bits[i + j];
        if (zeros >= 2 && byte <= 3)
            nal += char(3), zeros = 0;
        nal += char(byte);
        zeros = byte == 0 ? zeros + 1 : 0;
    }
    return nal;
}

TEST(PictureKinds, WhatLibheifWillAllocateIsHeldToTheLimitBeforehand) {
    // A real encoder's set-up: the coded size is the picture's, rounded up to whole blocks (of up to 64).
    const QSize coded = heifPrimary(makeHeic({.size = {65, 33}})).largestDecoded;
    EXPECT_TRUE(coded.width() >= 65 && coded.width() < 65 + 64 && coded.height() >= 33 && coded.height() < 33 + 64)
        << coded.width() << "x" << coded.height();
    // Files that declare 64 x 64 pixels: one sets its decoder up for 30000 x 30000, one is a grid of tiles
    // on a canvas of 30000 x 30000 (its description in the "idat" box).
    const auto heif = [](quint32 codedSide, bool grid) {
        const QByteArray sps = sequenceParameterSet(codedSide, codedSide);
        QByteArray hvcC(22, '\0');
        hvcC += QByteArray("\x01\x21\0\x01", 4) + char(sps.size() >> 8) + char(sps.size() & 0xFF) + sps;
        const QByteArray ispe = QByteArray(4, '\0') + QByteArray("\0\0\0\x40\0\0\0\x40", 8);
        QByteArray items = box("infe", QByteArray("\x02\0\0\0\0\x01\0\0hvc1", 12));
        QByteArray placed;
        if (grid) {
            items += box("infe", QByteArray("\x02\0\0\0\0\x02\0\0grid", 12));
            placed = box("iloc", QByteArray("\x01\0\0\0\x44\0\0\x01\0\x02\0\x01\0\0\0\x01\0\0\0\0\0\0\0\x08", 24)) +
                     box("idat", QByteArray("\0\0\0\0\x75\x30\x75\x30", 8));
        }
        const QByteArray meta = box(
            "meta", QByteArray(4, '\0') + box("pitm", QByteArray("\0\0\0\0\0", 5) + char(grid ? 2 : 1)) +
                        box("iinf", QByteArray("\0\0\0\0\0", 5) + char(grid ? 2 : 1) + items) + placed +
                        box("iprp", box("ipco", box("hvcC", hvcC) + box("ispe", ispe)) +
                                        box("ipma", QByteArray("\0\0\0\0\0\0\0\x01\0\x01\x02\x81\x02", 13))));
        return box("ftyp", QByteArray("heic\0\0\0\0mif1heic", 16)) + meta;
    };
    for (const QByteArray& file : {heif(30000, false), heif(64, true)}) {
        EXPECT_EQ(heifPrimary(file).largestDecoded, QSize(30000, 30000));
        try {
            readPictureInfo(file);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), u"Das Bild ist mit 30000 × 30000 Pixeln zu groß. Zettelwerk verarbeitet Bilder "
                                   "bis 100 Megapixel."_qs);
        }
    }
}

// The item location box replaced by one that gives each of `items` items 65,535 extents of width 0,
// each meaning "the rest of the file".
QByteArray withRestOfFileExtents(QByteArray heif, int items) {
    const auto be32 = [](qsizetype v) {
        const char bytes[] = {char(v >> 24), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)};
        return QByteArray(bytes, 4);
    };
    const auto read32 = [&heif](qsizetype at) {
        return qsizetype(quint8(heif[at])) << 24 | quint8(heif[at + 1]) << 16 | quint8(heif[at + 2]) << 8 |
               quint8(heif[at + 3]);
    };
    QByteArray body("\x01\0\0\0\0\0\0", 7);  // version 1, no offset, length or base fields
    body += char(items);
    for (int id = 1; id <= items; ++id)
        body += QByteArray("\0", 1) + char(id) + QByteArray("\0\0\0\0\xFF\xFF", 6);
    const QByteArray iloc = be32(body.size() + 8) + "iloc" + body;
    const qsizetype at = heif.indexOf("iloc") - 4, meta = heif.indexOf("meta") - 4;
    const qsizetype old = read32(at);
    heif.replace(at, old, iloc);
    heif.replace(meta, 4, be32(read32(meta) + iloc.size() - old));
    return heif;
}

TEST(PictureKinds, DamagedTruncatedAndHugeFilesAreRefused) {
    const QByteArray png = makePng({.size = {64, 64}});
    QByteArray pngBadData = png;
    pngBadData[pngBadData.indexOf("IDAT") + 10] ^= 0x55;  // the chunk's checksum no longer fits
    const QByteArray webp = makeWebp({.size = {64, 64}});
    QByteArray webpBadFrame = webp;
    webpBadFrame[webpBadFrame.indexOf("VP8 ") + 11] = 0;  // the frame's start code
    QByteArray webpHugeCanvas = makeWebp({.size = {64, 64}, .laterFrames = {leftRed({0, 0, 0, 0})}});
    for (const int at : {24, 27})  // canvas width and height - 1, 24 bits each
        webpHugeCanvas.replace(at, 3, QByteArray("\x2F\x75\0", 3));  // 29999
    QByteArray webpHugeLossless = makeWebp({.size = {64, 64}, .lossless = true});
    const qsizetype vp8l = webpHugeLossless.indexOf("VP8L") + 9;  // behind the signature byte
    webpHugeLossless.replace(vp8l, 3, "\xFF\xFF\xFF");
    webpHugeLossless[vp8l + 3] = char(webpHugeLossless[vp8l + 3] | 0x0F);  // 16384 x 16384
    const QByteArray heic = makeHeic({.size = {64, 64}});
    QByteArray heicHuge = heic;  // the "ispe" box: version and flags, then width and height
    heicHuge.replace(heicHuge.indexOf("ispe") + 8, 8, QByteArray("\0\0\x75\x30\0\0\x75\x30", 8));
    QByteArray heicSmaller = heic;  // declares 32 x 32, codes 64 x 64
    heicSmaller.replace(heicSmaller.indexOf("ispe") + 8, 8, QByteArray("\0\0\0\x20\0\0\0\x20", 8));
    QByteArray heicBadData = heic;  // the first coded unit's length runs past the file
    heicBadData.replace(heicBadData.indexOf("mdat") + 4, 4, "\x7F\xFF\xFF\xFF");

    const QString pngDamaged = u"Das PNG-Bild ist beschädigt oder unvollständig"_qs;
    const QString webpDamaged = u"Das WebP-Bild ist beschädigt oder unvollständig"_qs;
    const QString heifDamaged = u"Das HEIF-Bild ist beschädigt oder unvollständig"_qs;
    const QString codec = u"Das HEIF-Bild ist mit einem Verfahren gespeichert, das die installierte libheif "_qs;
    const struct {
        const char* name;
        QByteArray bytes;
        QString message;  // its beginning
        bool fromHeader;  // refused before the picture data is read
    } rows[] = {
        {"PNG cut short", png.left(png.size() - 30), pngDamaged, false},
        {"PNG data damaged", pngBadData, pngDamaged, false},
        {"PNG header only", png.left(40), pngDamaged, false},
        {"PNG of 30000 x 30000", pngDeclaring(png, 30000, 30000),
         u"Das Bild ist mit 30000 × 30000 Pixeln zu groß. Zettelwerk verarbeitet Bilder bis 100 Megapixel."_qs, true},
        {"WebP cut short", webp.left(webp.size() * 2 / 3), webpDamaged, false},
        {"WebP frame damaged", webpBadFrame, webpDamaged, true},
        {"WebP canvas of 30000 x 30000", webpHugeCanvas, u"Das Bild ist mit 30000 × 30000 Pixeln zu groß."_qs, true},
        {"WebP of 16384 x 16384", webpHugeLossless, u"Das Bild ist mit 16384 × 16384 Pixeln zu groß."_qs, true},
        {"HEIC cut short", heic.left(heic.size() - 40), heifDamaged, false},
        {"HEIC data damaged", heicBadData, heifDamaged, false},
        {"HEIC coded larger than declared", heicSmaller, heifDamaged, false},
        {"HEIC of 8 items of 65535 x the rest of the file", withRestOfFileExtents(heic, 8), heifDamaged, true},
        {"HEIC of 30000 x 30000", heicHuge, u"Das Bild ist mit 30000 × 30000 Pixeln zu groß."_qs, true},
        {"HEIF in VVC", heifWithItemType(heic, "vvc1"), codec + u"1.15"_qs, true},
        {"HEIF in JPEG", heifWithItemType(heic, "jpeg"), codec, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const bool header : {true, false}) {
            if (header && !row.fromHeader)
                continue;
            try {
                if (header)
                    readPictureInfo(row.bytes);
                else
                    loadPictureInfo(row.bytes);
                ADD_FAILURE() << "accepted, header only: " << header;
            } catch (const Error& e) {
                EXPECT_TRUE(e.message().startsWith(row.message)) << e.message().toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace zw::test
