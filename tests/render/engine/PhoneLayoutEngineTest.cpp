// The phone layout of every shipped template in the web engine, at a phone's 360 pixels and at the
// full 600: measured from the page itself, not read from the HTML.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <algorithm>

#include "../ShippedRender.h"
#include "support/MimeCheck.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

// Runs in the page: overflow, pictures wider than the page or not shown, news text below 16 pixels,
// alt texts below 12 pixels, the left and right edges of the texts, and where each news picture (named
// by its block's headline) stands beside its headline.
constexpr char kMeasure[] = R"(
(() => {
  const width = window.innerWidth;
  const r = {width, scrollWidth: document.documentElement.scrollWidth, badPictures: [], smallText: [],
             above: 0, beside: 0, centred: 0, blocks: 0, pictures: 0, smallAlt: [], edges: []};
  for (const img of document.images) {
    const b = img.getBoundingClientRect();
    if (b.left < -0.5 || b.right > width + 0.5 || !img.complete || img.naturalWidth === 0)
      r.badPictures.push(img.alt + ' ' + b.left + '..' + b.right);
    if (img.alt && parseFloat(getComputedStyle(img).fontSize) < 12) r.smallAlt.push(img.alt.slice(0, 40));
  }
  const edges = new Set();
  for (const e of document.querySelectorAll('h1, h2, h2 + div, td > p')) {
    const b = e.getBoundingClientRect();
    if (b.width > 0) edges.add(Math.round(b.left) + '..' + Math.round(b.right));
  }
  r.edges = [...edges];
  for (const h of document.querySelectorAll('h2')) {
    ++r.blocks;
    const walker = document.createTreeWalker(h.closest('td'), NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
      const text = walker.currentNode.textContent.trim();
      if (text && parseFloat(getComputedStyle(walker.currentNode.parentElement).fontSize) < 16)
        r.smallText.push(text.slice(0, 40));
    }
    const picture = [...document.images].find(img => img.alt === h.textContent.trim());
    if (!picture) continue;
    ++r.pictures;
    const p = picture.getBoundingClientRect(), t = h.getBoundingClientRect();
    if (p.bottom <= t.top + 0.5) ++r.above;
    if (p.right <= t.left + 0.5 && Math.abs(p.top - t.top) < 40) ++r.beside;
    if (Math.abs((p.left + p.right) / 2 - width / 2) < 2) ++r.centred;
  }
  return JSON.stringify(r);
})()
)";

// The decoded HTML part as a page in a folder, its "cid:" references pointing at the pictures beside it,
// or with picturesOff at files that are not there, as a mail app shows a message whose pictures it
// holds back.
QString writePage(const MimeNewsletter& parsed, const TempFolder& folder, bool picturesOff = false) {
    QByteArray html = parsed.html;
    for (qsizetype k = 0; k < parsed.pictures.size(); ++k) {
        const QByteArray name = "bild" + QByteArray::number(k) + ".jpg";
        if (!picturesOff)
            writeAll(folder.file(QString::fromLatin1(name)), parsed.pictures[k].bytes);
        html.replace("\"cid:" + parsed.pictures[k].contentId + "\"", "\"" + name + "\"");
    }
    writeAll(folder.file(u"seite.html"_qs), html);
    return folder.file(u"seite.html"_qs);
}

// Runs the measuring script in the page and waits for its answer.
QJsonObject runMeasure(QWebEngineView& view) {
    QString result;
    view.page()->runJavaScript(QString::fromLatin1(kMeasure),
                               [&](const QVariant& value) { result = value.toString(); });
    // Without an answer the object is empty, and the caller's check of its width fails.
    [[maybe_unused]] const bool answered = QTest::qWaitFor([&] { return !result.isEmpty(); }, 10000);
    return QJsonDocument::fromJson(result.toUtf8()).object();
}

// The page measured at each width in turn, loaded once. A phone's scroll bars lie over the page and
// take no width from it.
QList<QJsonObject> measure(const QString& page, const QList<int>& widths) {
    // One view for all pages, so that the engine starts its page process once; it lives as long as the
    // program, and the engine outlives no window of its own.
    static QWebEngineView* view = [] {
        auto* created = new QWebEngineView;
        created->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
        created->show();
        return created;
    }();
    view->resize(widths.first(), 700);
    bool loaded = false, ok = false;
    const auto connection = QObject::connect(view, &QWebEngineView::loadFinished,
                                             [&](bool success) { loaded = true, ok = success; });
    view->load(QUrl::fromLocalFile(page));
    const bool finished = QTest::qWaitFor([&] { return loaded; }, 30000);
    QObject::disconnect(connection);
    QList<QJsonObject> results;
    if (!finished || !ok)
        return results;
    for (const int width : widths) {
        view->resize(width, 700);
        // The page learns its new width a moment after the view.
        QJsonObject r;
        // A width the page never reports fails the test's check of it, which shows what the page said.
        [[maybe_unused]] const bool reported =
            QTest::qWaitFor([&] { return (r = runMeasure(*view))[u"width"_qs].toInt() == width; }, 10000);
        results.append(r);
    }
    return results;
}

TEST(PhoneLayoutInWebEngine, ShippedTemplatesFitAPhoneAndUseTheFullWidth) {
    FakePrompts prompts;
    for (const QString& file : shippedTemplates()) {
        SCOPED_TRACE(file.toStdString());
        TempFolder folder;
        const MimeNewsletter parsed = parseNewsletter(renderShipped(shippedDataFolder() + file, prompts));
        ASSERT_TRUE(parsed.problems.isEmpty());
        const QString page = writePage(parsed, folder);
        const NewsletterTemplate stored = parseTemplate(readAll(shippedDataFolder() + file));
        const auto withPicture =
            std::count_if(stored.blocks.begin(), stored.blocks.end(),
                          [](const NewsBlock& block) { return !block.Picture.isEmpty(); });
        const QList<int> widths{360, 600};
        const QList<QJsonObject> measured = measure(page, widths);
        ASSERT_EQ(measured.size(), widths.size());
        for (qsizetype i = 0; i < widths.size(); ++i) {
            const int width = widths[i];
            SCOPED_TRACE(width);
            const QJsonObject& r = measured[i];
            const std::string seen = QJsonDocument(r).toJson(QJsonDocument::Compact).toStdString();
            ASSERT_EQ(r[u"width"_qs].toInt(), width) << seen;
            EXPECT_LE(r[u"scrollWidth"_qs].toInt(), width) << seen;
            EXPECT_TRUE(r[u"badPictures"_qs].toArray().isEmpty()) << seen;
            EXPECT_TRUE(r[u"smallText"_qs].toArray().isEmpty()) << seen;
            EXPECT_EQ(r[u"blocks"_qs].toInt(), stored.blocks.size()) << seen;
            const int pictures = r[u"pictures"_qs].toInt();
            EXPECT_EQ(pictures, withPicture) << seen;
            if (width == 360) {
                EXPECT_EQ(r[u"above"_qs].toInt(), pictures) << seen;
                EXPECT_EQ(r[u"centred"_qs].toInt(), pictures) << seen;
            } else {
                EXPECT_EQ(r[u"beside"_qs].toInt(), pictures) << seen;
            }
        }
    }
}

// What real newsletters bring: a pasted address and a compound word no line holds, in a news text, the
// imprint and the title.
QByteArray renderWithLongStrings(const QString& file, FakePrompts& prompts) {
    const QByteArray url =
        "https://www.beispiel-verein.example.org/aktuelles/2026/herbst/"
        "veranstaltungskalender?quelle=rundbrief&nr=12345";
    const QByteArray word = "Rindfleischetikettierungsueberwachungsaufgabenuebertragungsgesetzes";
    const QByteArray address = "mitgliederverwaltungundbeitragsabrechnung@kleingartenvereinigung.example.org";
    EXPECT_EQ(url.size(), 110);
    EXPECT_EQ(word.size(), 67);
    TempFolder work;
    const QString images = shippedDataFolder() + u"Images/"_qs;
    const BlockFiles files(work.path());
    const RebuildResult loaded = loadTemplate(shippedDataFolder() + file, images, files);
    if (!files.list().isEmpty()) {
        NewsBlock first = BlockFiles::readForRendering(files.list().first());
        first.Text += " Mehr unter " + url + " zum " + word + '.';
        files.write(1, first.lines());
    }
    RenderInput input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
    input.copyFolder = work.subfolder(u"copies"_qs);
    input.titel1 += " Kontakt: " + address;
    input.impressumText += "<br>Post an " + address;
    input.impressumMailTo = address;
    return crlf(BuildMessageLines(input, prompts));
}

TEST(PhoneLayoutInWebEngine, LongStringsAndPicturesOffFitAPhone) {
    FakePrompts prompts;
    for (const QString& file : shippedTemplates()) {
        const MimeNewsletter parsed = parseNewsletter(renderWithLongStrings(file, prompts));
        ASSERT_TRUE(parsed.problems.isEmpty());
        for (const bool picturesOff : {false, true}) {
            SCOPED_TRACE(file.toStdString() + (picturesOff ? " ohne Bilder" : " mit Bildern"));
            TempFolder folder;
            const QList<int> widths{320, 360};
            const QList<QJsonObject> measured = measure(writePage(parsed, folder, picturesOff), widths);
            ASSERT_EQ(measured.size(), widths.size());
            for (qsizetype i = 0; i < widths.size(); ++i) {
                const QJsonObject& r = measured[i];
                const std::string seen = QJsonDocument(r).toJson(QJsonDocument::Compact).toStdString();
                ASSERT_EQ(r[u"width"_qs].toInt(), widths[i]) << seen;
                EXPECT_LE(r[u"scrollWidth"_qs].toInt(), widths[i]) << seen;
                EXPECT_TRUE(r[u"smallText"_qs].toArray().isEmpty()) << seen;
                EXPECT_TRUE(r[u"smallAlt"_qs].toArray().isEmpty()) << seen;
                EXPECT_EQ(r[u"badPictures"_qs].toArray().isEmpty(), !picturesOff) << seen;
                // Title, date, news texts and imprint share one left edge, and the texts the full width.
                EXPECT_TRUE(r[u"edges"_qs].toArray() == QJsonArray{u"16..%1"_qs.arg(widths[i] - 16)}) << seen;
            }
        }
    }
}

}  // namespace
}  // namespace zw::test
