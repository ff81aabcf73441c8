// A news text written in the formatted view, rendered into the message and shown by the web engine:
// what the view showed bold is bold, its list items are listed, its links lead where it said.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "../ShippedRender.h"
#include "editing/FormattedText.h"
#include "platform/Text.h"
#include "support/MimeCheck.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

constexpr char kWhatTheReaderSees[] = R"(
(() => {
  const bold = [...document.querySelectorAll('body *')]
    .filter(e => e.children.length === 0 && parseInt(getComputedStyle(e).fontWeight) >= 600)
    .map(e => e.textContent);
  const items = [...document.querySelectorAll('li')]
    .filter(e => getComputedStyle(e).display === 'list-item').map(e => e.textContent);
  const links = [...document.links].map(a => a.textContent + ' ' + a.getAttribute('href'));
  return JSON.stringify({bold, items, links});
})()
)";

void select(QTextDocument& doc, const QString& words, const std::function<void(QTextCursor&)>& edit) {
    QTextCursor c(&doc);
    const int at = int(doc.toRawText().indexOf(words));
    ASSERT_GE(at, 0);
    c.setPosition(at);
    c.setPosition(at + int(words.size()), QTextCursor::KeepAnchor);
    edit(c);
}

TEST(FormattedTextInWebEngine, TheMessageShowsWhatTheViewShowed) {
    QTextDocument doc;
    ASSERT_TRUE(readFormattedText(u"Einladung zum Sommerfest<br>Kuchen<br>Kaffee &amp; Tee<br>Anmeldung hier"_qs,
                                  doc, {}));
    select(doc, u"Sommerfest"_qs,
           [](QTextCursor& c) { changeSelectedFormat(c, [](QTextCharFormat& f) { setInlineFormat(f, InlineFormat::Bold, true); }); });
    select(doc, u"Kuchen\u2028Kaffee & Tee"_qs, [](QTextCursor& c) { toggleListItems(c); });
    select(doc, u"hier"_qs, [](QTextCursor& c) {
        changeSelectedFormat(c, [](QTextCharFormat& f) { setLinkFormat(f, u"http://www.example.org/?jahr=3D2026"_qs, {}); });
    });
    // What the view shows, read from its document.
    QStringList bold, items, links;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.textList())
            items << b.text();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (hasInlineFormat(f, InlineFormat::Bold))
                bold << it.fragment().text();
            if (f.isAnchor())
                links << it.fragment().text() + u' ' + linkTarget(f.anchorHref());
        }
    }
    ASSERT_EQ(items.size(), 2);

    // Into the shipped template's first block, rendered as the program renders it.
    TempFolder folder;
    const QByteArray shipped = readAll(shippedDataFolder() + u"Zettelwerk_Vorlage.nld"_qs);
    QList<QList<QByteArray>> blocks;
    for (const BlockSection& section : readBlockSections(shipped)) blocks << section.lines;
    blocks[0][4] = toStored(writeFormattedText(doc));
    const QString path = folder.file(u"Formatiert.nld"_qs);
    writeAll(path, writeTemplate(readSettings(shipped), blocks));
    FakePrompts prompts;
    const MimeNewsletter parsed = parseNewsletter(renderShipped(path, prompts));
    ASSERT_TRUE(parsed.problems.isEmpty()) << parsed.problems.join(u", "_qs).toStdString();

    QWebEngineView view;
    view.resize(600, 700);
    view.show();
    bool loaded = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
    view.setHtml(fromStored(parsed.html));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, 30000));
    QString answer;
    view.page()->runJavaScript(QString::fromLatin1(kWhatTheReaderSees),
                               [&](const QVariant& value) { answer = value.toString(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answer.isEmpty(); }, 10000));
    const QJsonObject seen = QJsonDocument::fromJson(answer.toUtf8()).object();
    const auto strings = [&](const char* key) {
        QStringList out;
        for (const QJsonValue& v : seen[QLatin1String(key)].toArray()) out << v.toString();
        return out;
    };
    for (const QString& word : bold) EXPECT_TRUE(strings("bold").contains(word)) << word.toStdString();
    EXPECT_EQ(strings("items"), items);
    for (const QString& link : links) EXPECT_TRUE(strings("links").contains(link)) << link.toStdString();
}

}  // namespace
}  // namespace zw::test
