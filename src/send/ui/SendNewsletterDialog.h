#pragma once

#include <QDialog>

#include "send/BlockList.h"
#include "send/OutgoingMessage.h"
#include "send/RecipientList.h"
#include "send/SenderProfile.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace zw::send {

class RejectedRowsModel;

// "Newsletter versenden…": the recipient list and the optional exclusion list are chosen on the first
// page; the second shows what will happen before anything is sent: how many get the newsletter, every
// row not taken with its line and reason, the subject, the sender, the message size, and a warning
// when the newsletter has no unsubscribe address, and every personal field with how many recipients
// get its fallback; a field the list does not have holds "Senden" until it is confirmed. Whoever opens
// it connects SendButton.
class SendNewsletterDialog : public QDialog {
    Q_OBJECT
public:
    SendNewsletterDialog(Newsletter newsletter, SenderProfile profile, QWidget* parent = nullptr);
    ~SendNewsletterDialog() override;

    const Newsletter& newsletter() const { return newsletter_; }
    const SenderProfile& profile() const { return profile_; }
    // The recipients as the check page shows them, exclusions applied.
    const RecipientList& recipients() const { return list_; }
    // The lasting block list of the working-files folder: its addresses are left out of every list.
    void setBlockList(BlockList blocks) { blocks_ = std::move(blocks); }
    const QList<BlockedRecipient>& blocked() const { return blocked_; }

    // "Weiter": reads the lists and shows the check page; a list that cannot be read is named on the
    // first page, which stays.
    void showCheckPage();
    void showChoicePage();

    QStackedWidget* Pages = nullptr;
    QLineEdit* ListEdit = nullptr;
    QPushButton* ListButton = nullptr;
    QLineEdit* ExcludeEdit = nullptr;
    QPushButton* ExcludeButton = nullptr;
    QLabel* ErrorLabel = nullptr;
    QLabel* CountLabel = nullptr;
    QLabel* SubjectLabel = nullptr;
    QLabel* SenderLabel = nullptr;
    QLabel* SizeLabel = nullptr;
    QLabel* WarningLabel = nullptr;         // no unsubscribe address
    QLabel* FieldsLabel = nullptr;          // the personal fields and how the list fills them
    QCheckBox* FieldsConfirmBox = nullptr;  // send although a field is missing from the list
    QLabel* BlockedLabel = nullptr;         // how many addresses the block list leaves out
    QLabel* RejectedLabel = nullptr;
    QTableView* RejectedTable = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* SendButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    QWidget* buildChoicePage();
    QWidget* buildCheckPage();
    void chooseFile(QLineEdit* edit, const QString& title);
    void updateButtons();

    Newsletter newsletter_;
    SenderProfile profile_;
    OutgoingMessage message_;
    RecipientList list_;
    BlockList blocks_;
    QList<BlockedRecipient> blocked_;
    RejectedRowsModel* rejected_ = nullptr;
    bool fieldsMissing_ = false;
};

}  // namespace zw::send
