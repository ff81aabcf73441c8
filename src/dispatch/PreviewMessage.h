#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QUrl>

#include <optional>

namespace zw {

// One part that the HTML refers to by its Content-ID. A base64 body stays where it is in the message
// until the view asks for it: most of a newsletter is pictures, and the view fetches each once.
struct PreviewPicture {
    QByteArray mimeType;         // "image/jpeg"
    QByteArray decoded;          // the body, when it was not base64
    qsizetype base64Start = -1;  // otherwise where its base64 text lies in the message
    qsizetype base64Length = 0;
    // The Content-ID whose address the view fetches it under: its own, or that of an earlier part
    // with the same type and bytes.
    QByteArray viewId;
};

// A rendered message as the preview shows it, read once and then served from memory: the page never
// touches the disk again, so a later rewrite of the file does not change what is shown.
struct PreviewMessage {
    QByteArray source;       // the message as read
    QByteArray html;         // the decoded HTML part, in its own character set
    QByteArray htmlCharset;  // as the part declares it ("iso-8859-1"); empty when it declares none
    QByteArray plainText;    // the decoded text/plain part, Windows-1252
    QString subject;         // the Subject header as a reader sees it, encoded words decoded
    QHash<QByteArray, PreviewPicture> pictures;  // by Content-ID as stored (8-bit, blanks kept)
    qint64 messageSize = 0;                      // bytes of the whole message file
    qint64 htmlPartSize = 0;  // bytes of the HTML part's body as sent (still quoted-printable)

    // The part for a Content-ID as stored (see PreviewRequest); null when none.
    const PreviewPicture* picture(const QByteArray& contentId) const;
    // Its decoded bytes.
    QByteArray pictureBytes(const PreviewPicture& picture) const;
};

// Reads and parses a message file. Throws zw::Error with a German text when the file cannot be read,
// is no MIME message or has no HTML part.
PreviewMessage readPreviewMessage(const QString& path);
// The same from bytes already in memory; `name` is the file name the message texts use.
PreviewMessage parsePreviewMessage(const QByteArray& message, const QString& name);

// Base64 text to bytes, skipping line ends and other characters outside the alphabet as mail readers
// do, and ending at the padding.
QByteArray decodeBase64(QByteArrayView text);

// Where the view finds a preview. Every preview shown gets addresses of its own, numbered, under one
// host: the engine keeps the page process it has instead of starting another for a new site, and its
// cache never answers for an address an earlier preview used (every rendering has a "1B_...").
//   the HTML part:  zw-preview://preview/preview1/7/
//   a picture:      zw-preview://preview/preview1/7/cid/1B_mein%20bild.jpg
inline constexpr char kPreviewScheme[] = "zw-preview";
inline constexpr char kPreviewHost[] = "preview";
QUrl previewAddress(const QString& previewName, quint64 number);

// What an address of the preview asks for.
struct PreviewRequest {
    QString previewName;  // "preview1"
    quint64 number = 0;
    bool isPicture = false;
    // Of a picture, as stored. The address carries it percent-encoded, its 8-bit characters written
    // as UTF-8 before that, as a browser writes a "cid:" reference; it is percent-decoded and, when
    // that is UTF-8, converted back to Windows-1252, the character set of the stored Content-IDs.
    QByteArray contentId;
};
// Empty for an address that is not one of the preview's.
std::optional<PreviewRequest> previewRequestOf(const QUrl& url);

// The HTML part of message as the view gets it: every "cid:" reference (in an attribute or a style's
// url()) pointing at the picture's address under page, pictures with the same bytes at one address.
// The message itself keeps its references.
QByteArray htmlForView(const PreviewMessage& message, const QUrl& page);

// Gmail cuts a message off past about 102 KB of HTML, and with its end the imprint and the unsubscribe
// link; the warning comes a little earlier, past 100 KB.
inline constexpr qint64 kClipLimit = 100 * 1024;
// Past this many bytes many providers refuse a message.
inline constexpr qint64 kProviderLimit = 10 * 1024 * 1024;

// "Nachricht: 1,2 MB · HTML-Teil: 35 KB" for the bar above the preview.
QString sizeSummary(const PreviewMessage& message);
// The warnings of the size display: an HTML part larger than kClipLimit, a message larger than
// kProviderLimit; an empty text when neither.
QString sizeWarning(const PreviewMessage& message);

}  // namespace zw
