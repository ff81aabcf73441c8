// The unsubscribe address a sending announces, as the rendering links it.
#include <gtest/gtest.h>

#include "send/RenderedNewsletter.h"
#include "support/QtPrinters.h"

namespace zw::test {
namespace {

TEST(RenderedNewsletterTest, UnsubscribeLinkIsTheRenderedOneWithItsAddressAsTyped) {
    const struct {
        QByteArray text, link, expected;
    } rows[] = {
        {"Abbestellen", "www.example.org/ab?liste=2&id=7", "http://www.example.org/ab?liste=2&id=7"},
        {"Abbestellen", "https://example.org/x=3D", "https://example.org/x=3D"},
        {"Abbestellen", "abmelden@verein.de", "mailto:abmelden@verein.de"},
        {"Abbestellen", "MAILTO:abmelden@verein.de?subject=a=b", "MAILTO:abmelden@verein.de?subject=a=b"},
        {"Abbestellen", "www.example.org\\ab", "http://www.example.org\\ab"},  // said by the rendering, not again
        {"", "www.example.org/ab", ""},  // no text: the rendering shows no link
        {"Abbestellen", " \t", ""},
    };
    for (const auto& row : rows) {
        RenderInput input;
        input.unsubscribeText = row.text;
        input.unsubscribeLink = row.link;
        EXPECT_EQ(send::unsubscribeLinkOf(input), row.expected) << row.link.constData();
    }
}

}  // namespace
}  // namespace zw::test
