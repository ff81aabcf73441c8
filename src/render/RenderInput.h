#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "render/Fields.h"
#include "template/NewsletterTemplate.h"

namespace zw {

// Everything a rendering reads besides the block edit files, collected by the caller from the main
// window (or from a loaded template). Texts are Windows-1252 bytes exactly as the fields and settings
// hold them.
struct RenderInput {
    QByteArray subject;      // subject field
    QByteArray titel1;       // first header line
    QByteArray titel2;       // second header line
    bool dateOn = true;      // "Datum Ein/Aus"
    QByteArray dateText;     // setting DateText, the text before the date
    QByteArray dateDisplay;  // the date display field (today's date, never stored)
    QByteArray kopfLogo;     // the three setting pictures, full stored paths
    QByteArray seperatorNews;
    QByteArray seperatorImpressum;
    QByteArray logoAlign;  // "left", "center", "right" as stored
    QByteArray seperatorAlign;
    QByteArray impressumAlign;
    QByteArray textColor;  // "#" and six hexadecimal digits as stored
    QByteArray linkColor;
    QByteArray bkgColor;
    QByteArray impressumText;
    QByteArray impressumMailTo;
    QByteArray impressumUrl;
    QByteArray unsubscribeText;
    QByteArray unsubscribeLink;
    // The sender set up for sending, when there is one: the From line names it in place of the fixed
    // placeholder, so that the desktop's mail program picks the matching identity. Unicode, as the
    // sender profile holds it; without an address the placeholder stays.
    QString senderName;
    QString senderAddress;

    // The personal fields: filled in with these values (one recipient's), or with the sample when
    // there are none; keepFields leaves their markers for a sending that fills them per recipient.
    std::optional<FieldValues> fieldValues;
    bool keepFields = false;

    // The folder with the block edit files ("*.edt"); it also receives the working file "temp.mim".
    QString workFolder;
    // The picture copies: block pictures are taken from here, the setting pictures copied into it.
    QString imagesFolder;
    // Where the setting pictures are copied instead, when not empty: a rendering beside the window's
    // (the command-line renderer) must not swap the window's copies under it, nor it theirs.
    QString copyFolder;

    // The phone layout (Layout=mobil) in place of the classic one.
    bool mobileLayout = false;
    // The line mail programs show beside the subject in the inbox; empty: none.
    QByteArray vorschautext;
};

// The input a freshly loaded template gives, as the main window's fields would hold it.
RenderInput renderInputFromSettings(const TemplateSettings& settings, const QByteArray& dateDisplay,
                                    const QString& workFolder, const QString& imagesFolder);

}  // namespace zw
