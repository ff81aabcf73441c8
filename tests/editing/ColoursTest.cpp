// The contrast of the template's colours, as the page "Farben" judges it.
#include <gtest/gtest.h>

#include "editing/Colours.h"
#include "support/QtPrinters.h"

namespace zw::test {
namespace {

TEST(ColoursTest, ContrastRatiosAreTheGuidelinesOwn) {
    // Colour values hold red in the lowest byte: 0x0000FF is red, 0xFF0000 blue.
    const struct {
        ColorValue first, second;
        double ratio;
    } rows[] = {{0x000000, 0xFFFFFF, 21.0},
                {0xFFFFFF, 0x000000, 21.0},
                {0x777777, 0xFFFFFF, 4.48},
                {0x0000FF, 0xFFFFFF, 4.00},
                {0xFF0000, 0xFFFFFF, 8.59}};
    for (const auto& row : rows)
        EXPECT_NEAR(contrastRatio(row.first, row.second), row.ratio, 0.01) << std::hex << row.first;
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
        // Read as the swatches read them: "#" optional, either case, anything after six digits ignored.
        {"#777777", "#0000ff", "FFFFFF", text},  // 4.48 is shown cut to 4,4, never rounded up to 4,5
        {"#FFFFFF", "#0000FF", "#00000099", links},
        {"#777777", "#777777", "#FFFFFF", text + u'\n' + QString(links).replace(u"2,4"_qs, u"4,4"_qs)},
        {"#777777", "#0000FF", "kein", {}},  // a background that cannot be read: nothing to judge
        {"falsch", "#FFFFFF", "#FFFFFF", QString(links).replace(u"2,4"_qs, u"1,0"_qs)},
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
