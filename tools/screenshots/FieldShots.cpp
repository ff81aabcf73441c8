// The pictures of the personal fields, drawn with the window's template and a small member list.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "SendShots.h"
#include "Shots.h"
#include "app/fMain.h"
#include "dispatch/ui/PreviewPart.h"
#include "platform/FileIo.h"
#include "send/FieldColumns.h"
#include "send/ui/FieldsPart.h"
#include "send/ui/SendNewsletterDialog.h"
#include "send/ui/SendPart.h"
#include "template/ui/SettingsView.h"

using namespace zw::send;

void drawFieldShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out) {
    const QString list = scratchFolder + QStringLiteral("/Mitglieder_mit_Anrede.csv");
    zw::writeFileAtomic(list,
                        "Anrede;Vorname;Nachname;E-Mail;Mitglied seit\r\n"
                        "Liebe;Anna;Becker;anna.becker@example.org;2011\r\n"
                        "Lieber;Jonas;Schulz;jonas.schulz@example.org;2019\r\n"
                        ";;Wagner;l.wagner@example.org;\r\n");
    rememberLastList(form.session().folders.program, list);
    const QString titel2 = form.Titel2Edit->text();
    const QString imprint = form.ImpressumEdit->text();
    form.Titel2Edit->setText(QStringLiteral("{Anrede|Liebe} {Vorname|Gartenfreunde}, ") +
                             titel2.section(u',', 1));
    form.ImpressumEdit->setText(QStringLiteral("Ihre Mitgliedsnummer: {Mitgliedsnummer}<br>") + imprint);

    // The news page with the field menu open, taken from the screen.
    zw::selectPage(form, 0);
    form.activateWindow();
    form.Memo1->setFocus();
    settle(300);
    QTimer::singleShot(600, [&] {
        if (QMenu* menu = form.fields().FieldButton->menu()) {
            const QRect button(form.fields().FieldButton->mapToGlobal(QPoint(0, 0)),
                               form.fields().FieldButton->size());
            const QRect area = button.united(menu->geometry()).adjusted(-260, -40, 20, 20);
            save(form.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()),
                 out + QStringLiteral("felder_einfuegen.png"));
            menu->close();
        }
    });
    form.fields().FieldButton->showMenu();

    // The preview for the first recipient of the list.
    zw::selectPage(form, zw::kPreviewPage);
    form.PageControl1Change();
    settle(500);
    form.fields().PreviewForBox->setCurrentIndex(1);
    form.pageCommands.showPreview();
    settle(4000);
    save(form.grab(), out + QStringLiteral("felder_vorschau.png"));
    form.fields().PreviewForBox->setCurrentIndex(0);
    zw::selectPage(form, 0);

    // The check page of "Newsletter versenden…".
    SendNewsletterDialog dialog(
        form.sendPart().renderNewsletter(scratchFolder + QStringLiteral("/felder.eml")), sampleSender(),
        &form);
    dialog.ListEdit->setText(list);
    dialog.show();
    dialog.showCheckPage();
    settle(300);
    save(dialog.grab(), out + QStringLiteral("felder_pruefen.png"));
    dialog.hide();

    form.Titel2Edit->setText(titel2);
    form.ImpressumEdit->setText(imprint);
}
