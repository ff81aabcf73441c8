// The personal fields in the window: "Feld einfügen" on the pages with text fields, "Vorschau für:"
// over the whole last list, and the inbox line above the preview.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "AppFixture.h"
#include "dispatch/ui/PreviewPart.h"
#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/NewsViewsPart.h"
#include "send/FieldColumns.h"
#include "send/ui/FieldsPart.h"

namespace zw::test {
namespace {

class FieldsWindowTest : public AppTest {
protected:
    TMainForm& startShown() {
        TMainForm& f = start();
        f.show();
        QApplication::setActiveWindow(&f);
        return f;
    }
    // Opens the menu of a "Feld einfügen" as a click does (without its modal loop), types the fallback
    // and chooses the entry that writes field.
    void chooseField(QToolButton* button, const QString& fallback, const QString& entry) {
        QMenu* menu = button->menu();
        Q_EMIT menu->aboutToShow();
        if (!fallback.isEmpty())
            menu->findChild<QLineEdit*>(u"FallbackEdit"_qs)->setText(fallback);
        for (QAction* action : menu->actions())
            if (action->text() == entry)
                return action->trigger();
        ADD_FAILURE() << "no entry " << entry.toStdString() << " in "
                      << menuEntries(button).join(u' ').toStdString();
    }
    static QStringList menuEntries(QToolButton* button) {
        QStringList entries;
        for (QAction* action : button->menu()->actions())
            if (!action->text().isEmpty())
                entries.append(action->text());
        return entries;
    }
    // The inbox line as a screen reader reads it.
    QString inboxLine() const {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(form->preview().InboxLineLabel);
        EXPECT_EQ(iface->text(QAccessible::Name), u"Im Posteingang"_qs);
        return iface->text(QAccessible::Description);
    }
    TempFolder lists_;
};

// Each page's button writes into the field the user wrote in last on that page, or the page's first.
TEST_F(FieldsWindowTest, FieldGoesIntoTheLastTextFieldOfItsPage) {
    TMainForm& f = startShown();
    auto* headerButton = f.findChild<QToolButton*>(u"HeaderFieldButton"_qs);
    ASSERT_TRUE(headerButton);
    f.PageControl1->setCurrentIndex(kHeaderFooterPage);
    // Before a list was read, the usual fields; the fallback shows in the entries as it is typed.
    Q_EMIT headerButton->menu()->aboutToShow();
    EXPECT_EQ(menuEntries(headerButton),
              QStringList({u"{Vorname}"_qs, u"{Nachname}"_qs, u"{Anrede}"_qs, u"{E-Mail}"_qs}));
    headerButton->menu()->findChild<QLineEdit*>(u"FallbackEdit"_qs)->setText(u"liebe {Mitglieder}"_qs);
    EXPECT_EQ(menuEntries(headerButton).first(), u"{Vorname|liebe Mitglieder}"_qs);

    // Nothing written on this page yet: the subject takes it, where its cursor stands.
    f.BetreffEdit->end(false);
    chooseField(headerButton, {}, u"{Vorname}"_qs);
    EXPECT_EQ(f.BetreffEdit->text(), u"Herbst{Vorname}"_qs);

    f.Titel2Edit->setFocus();
    f.Titel2Edit->setCursorPosition(0);
    f.MobileLayoutCheckBox->setFocus();  // the focus moves on, the header line stays the target
    chooseField(headerButton, u"liebe Mitglieder"_qs, u"{Vorname|liebe Mitglieder}"_qs);
    EXPECT_EQ(f.Titel2Edit->text(), u"{Vorname|liebe Mitglieder}Titel zwei"_qs);
    EXPECT_EQ(QApplication::focusWidget(), f.Titel2Edit);

    // On the news page the header line is out of sight: the news text takes the field.
    f.PageControl1->setCurrentIndex(kNewsPage);
    chooseField(f.fields().FieldButton, {}, u"{Anrede}"_qs);
    EXPECT_TRUE(f.Memo1->toPlainText().contains(u"{Anrede}"_qs));
    EXPECT_EQ(f.Titel2Edit->text(), u"{Vorname|liebe Mitglieder}Titel zwei"_qs);
    f.HeadLineEdit->setFocus();
    QTest::keyClick(f.HeadLineEdit, Qt::Key_End);
    chooseField(f.fields().FieldButton, {}, u"{Vorname}"_qs);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Erste{Vorname}"_qs);
    EXPECT_FALSE(f.session().Saved);

    // The formatted view takes it as the source view does, and writes it back into the stored text.
    f.newsViews->chooseFormatted(true);
    f.FormattedMemo->setFocus();
    f.FormattedMemo->moveCursor(QTextCursor::End);
    chooseField(f.fields().FieldButton, u"ihr"_qs, u"{Nachname|ihr}"_qs);
    EXPECT_TRUE(f.FormattedMemo->toPlainText().endsWith(u"{Nachname|ihr}"_qs));
    EXPECT_TRUE(f.Memo1->toPlainText().endsWith(u"{Nachname|ihr}"_qs))
        << f.Memo1->toPlainText().toStdString();
}

// "Vorschau für:" offers every recipient of the last list, found by typing, also one without a first
// name far down the list; the list is read again after a restart, and a list gone says so.
TEST_F(FieldsWindowTest, PreviewForAnyRecipientWithItsInboxLineAcrossARestart) {
    QByteArray csv = "Vorname;Nachname;E-Mail\r\n";
    for (int k = 1; k <= 14; ++k)
        csv += (k == 12 ? QByteArray() : "Name" + QByteArray::number(k)) + ";Becker" + QByteArray::number(k) +
               ";m" + QByteArray::number(k) + "@example.org\r\n";
    const QString listPath = lists_.file(u"mitglieder.csv"_qs);
    writeAll(listPath, csv);
    send::rememberLastList(programFolder, listPath);

    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        form.reset();
        TMainForm& f = startShown();
        // Before the list is offered in the menu, too.
        Q_EMIT f.fields().FieldButton->menu()->aboutToShow();
        EXPECT_EQ(menuEntries(f.fields().FieldButton),
                  QStringList({u"{Vorname}"_qs, u"{Nachname}"_qs, u"{E-Mail}"_qs}));
        f.BetreffEdit->setText(u"Hallo {Vorname|Gartenfreunde}"_qs);
        f.VorschautextEdit->setText(u"Liebe {Vorname|Mitglieder}, das Herbstfest"_qs);
        f.PageControl1->setCurrentIndex(kPreviewPage);
        QComboBox* box = f.fields().PreviewForBox;
        ASSERT_EQ(box->count(), 15);
        EXPECT_EQ(box->itemText(12), u"Becker12 <m12@example.org>"_qs);
        EXPECT_EQ(inboxLine(), u"Verein e.V. – Hallo Gartenfreunde – Liebe Mitglieder, das Herbstfest"_qs);

        // Typing a part of the address finds the one recipient; Enter in the list shows their message.
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), u"M12@"_qs);
        ASSERT_EQ(box->completer()->completionCount(), 1);
        QAbstractItemView* popup = box->completer()->popup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 2000));
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        EXPECT_EQ(box->currentIndex(), 12);
        EXPECT_TRUE(previews->last->html.contains("Liebe Mitglieder, das Herbstfest"));
        EXPECT_EQ(inboxLine(), u"Verein e.V. – Hallo Gartenfreunde – Liebe Mitglieder, das Herbstfest"_qs);
        box->setCurrentIndex(3);
        Q_EMIT box->activated(3);
        EXPECT_EQ(inboxLine(), u"Verein e.V. – Hallo Name3 – Liebe Name3, das Herbstfest"_qs);
        EXPECT_FALSE(f.fields().ListNoteLabel->isVisible());
    }

    QFile::remove(listPath);
    form.reset();
    TMainForm& f = startShown();
    f.PageControl1->setCurrentIndex(kPreviewPage);
    EXPECT_EQ(f.fields().PreviewForBox->count(), 1);
    EXPECT_TRUE(f.fields().ListNoteLabel->isVisible());
    EXPECT_TRUE(f.fields().ListNoteLabel->text().startsWith(
        u"Die zuletzt gelesene Empfängerliste kann nicht gelesen werden: "_qs))
        << f.fields().ListNoteLabel->text().toStdString();
    EXPECT_EQ(prompts.errors, QStringList());
}

}  // namespace
}  // namespace zw::test
