#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

#include "inbox/InboxCheck.h"
#include "send/SenderProfile.h"

class QWidget;

namespace zw {
class Prompts;
}

namespace zw::inbox {

class BlockListDialog;
class IncomingServerDialog;
class InboxReviewDialog;

// The menu "Versand"'s block list and inbox check: "Sperrliste…", "Posteingang einrichten…" and
// "Rückläufer und Abmeldungen prüfen…", which reads the inbox off the user-interface thread and then
// shows the review.
class InboxPart : public QObject {
    Q_OBJECT
public:
    // The password for a login (user and server of the profile given), or nothing when the user cancels.
    using PasswordFor = std::function<std::optional<QString>(const send::SenderProfile&)>;

    InboxPart(QWidget* window, QString workFolder, Prompts& prompts, PasswordFor passwordFor,
              QObject* parent = nullptr);

    void Sperrliste1Click();
    void Posteingangeinrichten1Click();
    void RuecklaeuferundAbmeldungenpruefen1Click();

    BlockListDialog* blockListDialog() const;
    IncomingServerDialog* serverDialog() const;
    InboxReviewDialog* reviewDialog() const;
    bool checking() const { return checking_; }

Q_SIGNALS:
    // The check has ended: the review is open, or the error was shown.
    void checkFinished();

private:
    void openServerDialog(std::function<void()> afterSaving);

    QWidget* window_;
    QString workFolder_;
    Prompts& prompts_;
    PasswordFor passwordFor_;
    QPointer<BlockListDialog> blockList_;
    QPointer<IncomingServerDialog> server_;
    QPointer<InboxReviewDialog> review_;
    bool checking_ = false;
};

}  // namespace zw::inbox
