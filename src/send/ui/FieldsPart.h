#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

#include "render/Fields.h"
#include "send/RecipientList.h"

class QComboBox;
class QLabel;
class QToolButton;
class QWidget;

namespace zw::send {

// The personal fields in the window: the button "Feld einfügen" beside the news text's tools, which
// offers the usual fields and the columns of the last list read for a sending, and the box "Vorschau
// für:" above the preview, which shows the message with the sample or with one of that list's first
// recipients. The window places both.
class FieldsPart : public QObject {
    Q_OBJECT
public:
    // How many of the list's recipients the preview offers.
    static constexpr int kPreviewRecipients = 10;

    // fallbackEditor receives a field when no text field of window has the focus.
    FieldsPart(QWidget* window, QWidget* fallbackEditor, QString workFolder, QObject* parent = nullptr);

    QToolButton* FieldButton = nullptr;
    QLabel* PreviewForLabel = nullptr;
    QComboBox* PreviewForBox = nullptr;

    // The values the preview shows: one recipient's, or none for the sample.
    std::optional<FieldValues> previewValues() const;
    // Reads the last list again when it changed since.
    void refresh();
    // The fields the menu offers: the usual ones, then the list's other columns.
    QStringList menuFields() const;
    // Puts "{name}" into the text field that has the focus, or into the news text.
    void insertField(const QString& name);

Q_SIGNALS:
    // The user chose whom the preview shows.
    void previewRecipientChosen();

private:
    QWidget* window_;
    QWidget* fallbackEditor_;
    QString workFolder_;
    RecipientList list_;
    QString listStamp_;  // the list's path and time, to see a change
};

}  // namespace zw::send
