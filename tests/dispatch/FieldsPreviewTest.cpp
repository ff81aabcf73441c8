// A recipient's values as a reader sees them: the message with fields, shown by the real web engine.
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include "PreviewSamples.h"
#include "dispatch/PreviewMessage.h"
#include "dispatch/ui/WebPreview.h"
#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "template/BlockCycle.h"

namespace zw::test {
namespace {

// Named with "WebPreviewTest", as every test that starts the engine: the sanitizer run leaves those out.
TEST(WebPreviewTestOfFields, ValuesReadAsTypedInTheEngine) {
    TempFolder work;
    RenderInput input = shippedTemplateInput(work);
    input.titel1 = "{Vorname|Hallo}: {Nachname} {{Klammer}} <i>kursiv</i>";
    input.fieldValues =
        FieldValues{{u"vorname"_qs, u"Zoë 😀"_qs}, {u"nachname"_qs, u"Müller & Söhne <GmbH>"_qs}};
    FakePrompts prompts;
    const QByteArray message = crlf(BuildMessageLines(input, prompts));

    WebPreview preview;
    bool loaded_ = false;
    preview.onLoaded = [&](bool ok) { loaded_ = ok; };
    preview.view()->resize(700, 500);
    preview.view()->show();
    preview.showMessage(std::make_shared<const PreviewMessage>(parsePreviewMessage(message, u"preview1"_qs)),
                        u"preview1"_qs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded_; }, 20000));
    QString text;
    preview.view()->page()->toPlainText([&](const QString& plain) { text = plain; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }, 10000));
    // The template's own markup takes effect; the values show as written, markup characters included.
    EXPECT_TRUE(text.contains(u"Zoë 😀: Müller & Söhne <GmbH> {Klammer} kursiv"_qs)) << text.toStdString();
}

}  // namespace
}  // namespace zw::test
