#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "dispatch/ui/TipForm.h"
#include "dispatch/ui/VentozaForm.h"
#include "support/QtPrinters.h"

namespace zw::test {
namespace {

// The texts of a window's labels and buttons, top to bottom as created.
QStringList texts(const QWidget& window) {
    QStringList out;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty())
            out.append(label->text());
        if (const auto* button = qobject_cast<const QPushButton*>(w))
            out.append(button->text());
    }
    return out;
}

TEST(DispatchForms, TipHasItsSevenLines) {
    TTipForm tip(QString{});
    EXPECT_EQ(tip.windowTitle(), u"Tip"_qs);
    EXPECT_EQ(
        tip.Memo1->toPlainText().split(u'\n'),
        QStringList({u"Verwenden Sie eine der bereits mitgelieferten "_qs,
                     u"Vorlagen für Ihren Newsletter. Klicken Sie hierzu "_qs,
                     u"auf den Button \"Vorlage öffnen\"."_qs, QString(), QString(),
                     u"Sie können aber auch Ihre eigenen Firmenköpfe "_qs, u"und Grafiken verwenden."_qs}));
    tip.open();
    QTest::keyClick(&tip, Qt::Key_Escape);
    EXPECT_EQ(tip.result(), QDialog::Accepted);
}

TEST(DispatchForms, NoticesSayWhatTheySay) {
    TVentozaForm start(QString{});
    EXPECT_EQ(start.windowTitle(), u"Ventoza Programm wird gestartet"_qs);
    EXPECT_EQ(texts(start),
              QStringList({u"Ventoza Serienmail-Programm wird gestartet:"_qs,
                           u"Gehen Sie nun im Ventoza-Programm auf:"_qs, u"\"Serien-Email schreiben!\""_qs,
                           u"\"HTML-Email\""_qs, u"\"Öffnen einer bereits vorhandenen Email-Vorlage\""_qs,
                           u"und öffnen Sie die Datei:"_qs, u"Abbrechen"_qs, u"Weiter"_qs}));
    EXPECT_TRUE(start.FileLabel->font().bold());

    TNoVentozaForm offer(QString{});
    EXPECT_EQ(offer.windowTitle(), u"Ventoza professional"_qs);
    EXPECT_EQ(
        texts(offer),
        QStringList({u"\"Ventoza professional\""_qs,
                     u"Zum versenden von Serienemails mit persönlicher Anrede bieten wir Ihnen unser "
                     u"Zusatzprogramm \"Ventoza\" an."_qs,
                     u"Ventoza können Sie kostenlos auf unserer Seite herunterladen und testen!"_qs,
                     u"Drücken Sie auf den Knopf \"Ventoza ansehen\" um auf die Internetseite von Ventoza "
                     u"weitergeleitet zu werden."_qs,
                     u"<a href=\"#\">Ventoza ansehen</a>"_qs, u"Ventoza ansehen"_qs}));
    EXPECT_FALSE(offer.windowFlags() & Qt::WindowCloseButtonHint);
}

}  // namespace
}  // namespace zw::test
