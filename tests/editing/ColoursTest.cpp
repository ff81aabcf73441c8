// The contrast of the template's colours, as the page "Farben" judges it.
#include <gtest/gtest.h>

#include "editing/Colours.h"
#include "support/QtPrinters.h"

namespace zw::test {
namespace {

// Colour values hold red in the lowest byte: 0x0000FF is red, 0xFF0000 blue.
constexpr ColorValue kBlack = 0x000000, kWhite = 0xFFFFFF, kGrey77 = 0x777777, kRed = 0x0000FF,
                     kBlue = 0xFF0000;

TEST(ColoursTest, ContrastRatiosAreTheGuidelinesOwn) {
    const struct {
        ColorValue first, second;
        double ratio;
    } rows[] = {
        {kBlack, kWhite, 21.0}, {kWhite, kBlack, 21.0}, {kWhite, kWhite, 1.0}, {kGrey77, kWhite, 4.48},
        {kRed, kWhite, 4.00},   {kBlue, kWhite, 8.59},  {kBlue, kBlack, 2.44},
    };
    for (const auto& row : rows)
        EXPECT_NEAR(contrastRatio(row.first, row.second), row.ratio, 0.01) << std::hex << row.first;
}

TEST(ColoursTest, ColourTextsReadAsTheSwatchesReadThem) {
    const struct {
        QByteArray text;
        std::optional<ColorValue> value;
    } rows[] = {
        {"#FF0000", kRed}, {"ff0000", kRed},       {"#0000fF", kBlue}, {"#12345678", 0x563412},
        {"#12G456", {}},   {"#123", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(readColourText(row.text), row.value) << row.text.constData();
}

TEST(ColoursTest, TheWarningNamesWhatReadsPoorlyOnTheBackground) {
    const QString text =
        u"Der Kontrast von Text (Newstext, Überschriften, Impressum) zu Hintergrund ist 4,4:1 – "
        u"unter 4,5:1 ist er für viele Leser schwer lesbar."_qs;
    const QString links =
        u"Der Kontrast von Links zu Hintergrund ist 2,4:1 – unter 4,5:1 ist er für viele Leser schwer lesbar."_qs;
    const struct {
        QByteArray text, link, background;
        QString warning;
    } rows[] = {
        {"#000000", "#0000FF", "#FFFFFF", {}},
        {"#777777", "#0000FF", "#FFFFFF", text},  // 4.48 is shown cut to 4,4, never rounded up to 4,5
        {"#FFFFFF", "#0000FF", "#000000", links},
        {"#777777", "#777777", "#FFFFFF", text + u'\n' + QString(links).replace(u"2,4"_qs, u"4,4"_qs)},
        {"#777777", "#0000FF", "kein", {}},  // a background that cannot be read: nothing to judge
        {"falsch", "#FFFFFF", "#FFFFFF",
         u"Der Kontrast von Links zu Hintergrund ist 1,0:1 – unter 4,5:1 ist er "
         u"für viele Leser schwer lesbar."_qs},
    };
    for (const auto& row : rows) {
        TemplateSettings settings;
        settings.TextColor = row.text;
        settings.LinkColor = row.link;
        settings.BKGColor = row.background;
        EXPECT_EQ(contrastWarning(settings), row.warning)
            << row.text.constData() << ' ' << row.link.constData();
    }
}

}  // namespace
}  // namespace zw::test
