// The pictures of the help page "Rückläufer und Abmeldungen", drawn from the findings a club would
// see after a newsletter to its members.
#include "InboxShots.h"

#include <QDir>
#include <QLineEdit>

#include "SendShots.h"
#include "Shots.h"
#include "app/fMain.h"
#include "inbox/InboxCheck.h"
#include "inbox/ui/BlockListDialog.h"
#include "inbox/ui/InboxReviewDialog.h"
#include "inbox/ui/IncomingServerDialog.h"
#include "platform/FileIo.h"
#include "send/BlockList.h"
#include "send/ui/SendNewsletterDialog.h"
#include "send/ui/SendPart.h"

using namespace zw::inbox;
using namespace zw::send;

void drawInboxShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out) {
    const QString work = scratchFolder + QStringLiteral("/posteingang");
    QDir().mkpath(work);
    saveProfile(sampleSender(), profilePath(work));
    IncomingServerDialog server(profilePath(work));
    server.adjustSize();
    save(server.grab(), out + QStringLiteral("posteingang_einrichten.png"));

    const QDateTime day(QDate(2026, 3, 14), QTime(9, 12));
    const QString march = QStringLiteral("Vereinsnachrichten März");
    CheckResult result;
    result.newMessages = 87;
    result.items = {
        {InboxFinding::Permanent,
         "jonas.hoffmann@example.org",
         "Status 5.1.1: 550 5.1.1 <jonas.hoffmann@example.org>: Recipient address rejected: User unknown",
         day,
         {},
         march,
         true},
        {InboxFinding::Permanent,
         "paul.koch@example.org",
         "Status 5.1.1: 550 Requested action not taken: mailbox unavailable",
         day.addSecs(300),
         {},
         march,
         true},
        {InboxFinding::Temporary,
         "marie.wolf@example.org",
         "Status 4.2.2: 452 4.2.2 Mailbox full",
         day.addSecs(900),
         {},
         march,
         false},
        {InboxFinding::Unsubscribe, "tim.klein@example.org", "Abmelden", day.addSecs(3600), {}, march, true},
        {InboxFinding::Unsubscribe,
         "sophie.becker@example.org",
         "Re: Vereinsnachrichten März – bitte austragen",
         day.addDays(1),
         {},
         march,
         true},
    };
    InboxReviewDialog review(work, result);
    review.show();
    settle(200);
    save(review.grab(), out + QStringLiteral("ruecklaeufer_pruefen.png"));
    review.accept();

    BlockList blocks = BlockList::load(blockListPath(work));
    blocks.add({"lena.schulz@example.org", "von Hand", day.addDays(-20), {}, {}});
    blocks.save(blockListPath(work));
    BlockListDialog list(work);
    list.show();
    settle(200);
    save(list.grab(), out + QStringLiteral("sperrliste.png"));
    list.hide();

    // The next newsletter to the members: the check page leaves the blocked out and says why.
    const QString members = scratchFolder + QStringLiteral("/Mitglieder-April.csv");
    zw::writeFileAtomic(members,
                        "E-Mail;Name\r\njonas.hoffmann@example.org;Jonas\r\nanna.becker@example.org;Anna\r\n"
                        "tim.klein@example.org;Tim\r\nfelix.wagner@example.org;Felix\r\n"
                        "lena.schulz@example.org;Lena\r\nmarie.wolf@example.org;Marie\r\n");
    form.BetreffEdit->setText(QStringLiteral("Vereinsnachrichten April"));
    SendNewsletterDialog dialog(
        form.sendPart().renderNewsletter(scratchFolder + QStringLiteral("/april.eml")), sampleSender(),
        &form);
    dialog.setBlockList(BlockList::load(blockListPath(work)));
    dialog.ListEdit->setText(members);
    dialog.showCheckPage();
    dialog.show();
    settle(300);
    save(dialog.grab(), out + QStringLiteral("versand_pruefen_sperrliste.png"));
}
