// The preview in the real web engine: what it shows from memory, and what it refuses.
#include <QTcpServer>
#include <QTest>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <cmath>

#include "PreviewSamples.h"
#include "dispatch/ui/WebPreview.h"
#include "support/Files.h"

namespace zw::test {
namespace {

class WebPreviewTest : public ::testing::Test {
protected:
    WebPreviewTest() {
        preview_.onLoaded = [this](bool ok) { loads_.append(ok); };
        preview_.onLinkClicked = [this](const QUrl& url) { links_.append(url.toString(QUrl::FullyEncoded)); };
        preview_.view()->resize(500, 400);
        preview_.view()->show();
    }
    // Shows a message and waits until the view has it.
    void show(const PreviewMessage& message, const QString& name) {
        const qsizetype before = loads_.size();
        preview_.showMessage(std::make_shared<const PreviewMessage>(message), name);
        EXPECT_TRUE(QTest::qWaitFor([&] { return loads_.size() > before; }, 20000));
        EXPECT_EQ(loads_.value(before), true);
    }
    // Waits until the pixel has the colour (painting follows the load).
    bool pixelBecomes(QPoint at, QColor colour, int timeoutMs = 8000) {
        return QTest::qWaitFor(
            [&] {
                const QColor seen = preview_.view()->grab().toImage().pixelColor(at);
                return qAbs(seen.red() - colour.red()) + qAbs(seen.green() - colour.green()) +
                           qAbs(seen.blue() - colour.blue()) <
                       60;
            },
            timeoutMs);
    }
    QUrl shownUrl() const { return preview_.view()->page()->url(); }
    // The preview the view shows, from its address: a page, never a picture or anything else.
    QString shownName() const {
        const auto request = previewRequestOf(shownUrl());
        return request && !request->isPicture ? request->previewName : QString();
    }

    WebPreview preview_;
    QList<bool> loads_;
    QStringList links_;
};

TEST_F(WebPreviewTest, PicturesByContentIdWithBlanksAndUmlautsFromTheMessageOfTheirPage) {
    const QByteArray html =
        "<body style=\"margin:0\"><img src=\"cid:1B_mein bild.jpg\" width=100 height=100 "
        "style=\"display:block\">"
        "<img src=\"cid:2B_B\xE4ume.jpg\" width=100 height=100 style=\"display:block\"></body>";
    const auto message = [&](QColor first, QColor second) {
        return parsePreviewMessage(
            sampleMessage(html, {{"1B_mein bild.jpg", jpeg(first)}, {"2B_B\xE4ume.jpg", jpeg(second)}}),
            u"preview.eml"_qs);
    };
    show(message(Qt::red, Qt::blue), u"preview1"_qs);
    EXPECT_EQ(shownName(), u"preview1"_qs);
    EXPECT_TRUE(pixelBecomes({50, 50}, Qt::red));
    EXPECT_TRUE(pixelBecomes({50, 150}, Qt::blue));

    // The same Content-IDs in the next renderings carry other pictures: the view shows the new ones,
    // also when a preview file's name comes round again.
    const QUrl first = shownUrl();
    show(message(Qt::green, Qt::yellow), u"preview2"_qs);
    EXPECT_EQ(shownName(), u"preview2"_qs);
    EXPECT_TRUE(pixelBecomes({50, 50}, Qt::green));
    EXPECT_TRUE(pixelBecomes({50, 150}, Qt::yellow));
    show(message(Qt::blue, Qt::red), u"preview1"_qs);
    EXPECT_EQ(shownName(), u"preview1"_qs);
    EXPECT_NE(shownUrl(), first);
    EXPECT_TRUE(pixelBecomes({50, 50}, Qt::blue));
    EXPECT_TRUE(pixelBecomes({50, 150}, Qt::red));
}

TEST_F(WebPreviewTest, RunsNoScriptReachesNothingOutsideTheMessageAndStaysPut) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        ++connections;
        delete server.nextPendingConnection();
    });
    const QByteArray remote = "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    TempFolder folder;
    writeAll(folder.file(u"rot.jpg"_qs), jpeg(Qt::red, 100, 100));
    PreviewMessage message;
    message.html =
        "<html><head><title>vorher</title><style>body{margin:0}</style><link rel=\"dns-prefetch\" href=\"" +
        remote + "\"><link rel=\"stylesheet\" href=\"" + remote + "/a.css\"></head><body><img src=\"" +
        QUrl::fromLocalFile(folder.file(u"rot.jpg"_qs)).toEncoded() +
        "\" width=100 height=100 style=\"display:block\">"
        "<script>document.title = 'Skript lief'; new Image().src = '" +
        remote +
        "/js';</script>"
        "<img src=\"" +
        remote + "/spur.gif\"><iframe src=\"" + remote +
        "/frame\"></iframe>"
        "<form action=\"" +
        remote +
        "/f\"></form>"
        "<meta http-equiv=\"refresh\" content=\"0; url=" +
        remote + "/weiter\"></body></html>";
    show(message, u"preview1"_qs);
    QTest::qWait(1500);  // room for a refresh or a late request
    EXPECT_EQ(connections, 0);
    EXPECT_FALSE(pixelBecomes({50, 50}, Qt::red, 2000));  // the local file stays out
    EXPECT_EQ(preview_.view()->page()->title(), u"vorher"_qs);
    EXPECT_EQ(shownName(), u"preview1"_qs);
    EXPECT_EQ(links_, QStringList());
}

TEST_F(WebPreviewTest, ClickedLinksGoOutAlsoThoseForANewWindow) {
    const struct {
        QByteArray attributes;
        QString address;
    } rows[] = {
        {"href=\"https://example.org/a b\"", u"https://example.org/a%20b"_qs},
        {"href=\"http://example.org/neu\" target=_blank", u"http://example.org/neu"_qs},
        {"href=\"mailto:info@example.org\"", u"mailto:info@example.org"_qs},
    };
    for (const auto& row : rows) {
        links_.clear();
        PreviewMessage message;
        message.html = "<body style=\"margin:0\"><a " + row.attributes +
                       " style=\"display:block;width:500px;height:400px\">Link</a></body>";
        show(message, u"preview1"_qs);
        QWidget* target = preview_.view()->focusProxy();
        ASSERT_TRUE(target);
        QTest::mouseClick(target, Qt::LeftButton, {}, {100, 100});
        EXPECT_TRUE(QTest::qWaitFor([&] { return !links_.isEmpty(); }, 5000)) << row.attributes.constData();
        EXPECT_EQ(links_, QStringList{row.address});
        EXPECT_EQ(shownName(), u"preview1"_qs);
    }
}

// A phone's mail app scales a wider message down to its screen: all of its width in view, no scroll
// bar beside it. A narrower one stays as it is.
TEST_F(WebPreviewTest, FittedToAPhoneTheWholeWidthIsInView) {
    QList<double> scales;
    preview_.onScaled = [&](double scale) { scales.append(scale); };
    preview_.view()->resize(375, 400);
    const auto table = [](int width) {
        PreviewMessage message;
        message.html = "<body style=\"margin:0\"><table width=" + QByteArray::number(width) +
                       " cellspacing=0 cellpadding=0><tr><td style=\"background:red;height:1000px\"></td>"
                       "<td width=100 style=\"background:blue\"></td></tr></table></body>";
        return message;
    };
    const auto scaledTo = [&](double scale) {
        return QTest::qWaitFor([&] { return !scales.isEmpty() && std::abs(scales.last() - scale) < 0.01; },
                               5000);
    };
    preview_.fitToWidth(375);
    show(table(600), u"preview1"_qs);
    EXPECT_TRUE(scaledTo(0.625)) << (scales.isEmpty() ? -1 : scales.last());
    EXPECT_TRUE(pixelBecomes({372, 50}, Qt::blue));
    EXPECT_TRUE(pixelBecomes({100, 50}, Qt::red));
    show(table(750), u"preview2"_qs);
    EXPECT_TRUE(scaledTo(0.5));
    EXPECT_TRUE(pixelBecomes({372, 50}, Qt::blue));
    show(table(300), u"preview1"_qs);
    EXPECT_TRUE(scaledTo(1.0));
    EXPECT_TRUE(pixelBecomes({250, 50}, Qt::blue));

    show(table(600), u"preview2"_qs);
    EXPECT_TRUE(scaledTo(0.625));
    preview_.fitToWidth(0);
    EXPECT_EQ(scales.last(), 1.0);
    EXPECT_TRUE(pixelBecomes({350, 50}, Qt::red));
}

// A message laid out for phones is shown at its own size in the phone's width, with no scroll bar
// taking width from it, also after a classic one was scaled down.
TEST_F(WebPreviewTest, UnscaledAtAPhonesWidthNothingIsZoomedAndNoScrollBarShows) {
    QList<double> scales;
    preview_.onScaled = [&](double scale) { scales.append(scale); };
    preview_.view()->resize(375, 400);
    PreviewMessage message;
    message.html =
        "<body style=\"margin:0\"><table width=600 cellspacing=0 cellpadding=0><tr>"
        "<td style=\"background:red;height:1000px\"></td><td width=100></td></tr></table></body>";
    preview_.fitToWidth(375);
    show(message, u"preview1"_qs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !scales.isEmpty() && scales.last() < 0.7; }, 5000));
    preview_.showUnscaled();
    EXPECT_EQ(scales.last(), 1.0);
    EXPECT_EQ(preview_.view()->page()->zoomFactor(), 1.0);
    EXPECT_TRUE(pixelBecomes({372, 50}, Qt::red));  // the red cell, not a scroll bar
}

}  // namespace
}  // namespace zw::test
