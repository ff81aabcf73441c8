#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

#include "render/Fields.h"
#include "send/RecipientList.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class QWidget;

namespace zw::send {

// The personal fields in the window: the buttons "Feld einfügen" (one on each page with text fields),
// which offer the columns of the last list read for a sending (the usual fields before one was read)
// and a fallback for empty cells; and the box "Vorschau für:" above the preview, which shows the
// message with the sample or with any recipient of that list, found by typing a part of the name or
// the address. The window places them.
class FieldsPart : public QObject {
    Q_OBJECT
public:
    // fallbackEditor receives a field from FieldButton while no text field of its page had the focus.
    FieldsPart(QWidget* window, QWidget* fallbackEditor, QString workFolder, QObject* parent = nullptr);

    // A further "Feld einfügen" for another page; defaultTarget takes a field there while none of that
    // page's text fields had the focus.
    QToolButton* addFieldButton(QWidget* defaultTarget);
    // A text field whose text is no part of the newsletter (the date shown): it never takes a field.
    void excludeFromFields(QWidget* field) { excluded_.append(field); }

    QToolButton* FieldButton = nullptr;  // beside the news text's tools
    QLabel* PreviewForLabel = nullptr;
    QComboBox* PreviewForBox = nullptr;
    QLabel* ListNoteLabel = nullptr;  // why the last list cannot be offered; hidden when it can

    // The values the preview shows: one recipient's, or none for the sample.
    std::optional<FieldValues> previewValues() const;
    // Reads the last list again when it changed since.
    void refresh();
    // The fields the menu offers: the list's columns, or the usual ones before a list was read.
    QStringList menuFields() const;
    // Puts "{name}" (or "{name|fallback}") into the text field that has the focus or had it last on the
    // page shown, else into defaultTarget (the news text when none is given).
    void insertField(const QString& name, const QString& fallback = {}, QWidget* defaultTarget = nullptr);

Q_SIGNALS:
    // The user chose whom the preview shows.
    void previewRecipientChosen();

private:
    bool takesFields(QWidget* w) const;
    QWidget* targetFor(QWidget* defaultTarget) const;
    void fillMenu(QMenu* menu, QWidget* defaultTarget);
    void fillPreviewBox();
    void setListNote(const QString& note);

    QWidget* window_;
    QWidget* fallbackEditor_;
    QString workFolder_;
    QList<QWidget*> excluded_;
    QPointer<QWidget> lastField_;  // the text field that had the focus last
    RecipientList list_;
    QString listStamp_;  // the list's path and time, to see a change
};

// The fallback as the field syntax takes it: braces and control characters cannot stand in it.
QString cleanFallback(const QString& typed);
// The field as it is written: "{Vorname}" or "{Vorname|liebe Mitglieder}".
QString fieldSyntax(const QString& name, const QString& fallback);

}  // namespace zw::send
