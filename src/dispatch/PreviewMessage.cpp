#include "dispatch/PreviewMessage.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <gmime/gmime.h>

#include <array>
#include <mutex>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"

namespace zw {

namespace {

// GMime objects are reference counted; this keeps one for a scope.
template <class T>
struct Ref {
    T* object;
    explicit Ref(T* o) : object(o) {}
    ~Ref() {
        if (object)
            g_object_unref(object);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
};

// A GByteArray over bytes it must neither free nor grow: the parser's stream only reads them.
struct BorrowedBytes {
    GByteArray* array;
    explicit BorrowedBytes(const QByteArray& bytes)
        : array(g_byte_array_new_take(reinterpret_cast<guint8*>(const_cast<char*>(bytes.constData())),
                                      gsize(bytes.size()))) {}
    ~BorrowedBytes() { g_byte_array_free(array, FALSE); }  // gives the bytes back, unfreed
    BorrowedBytes(const BorrowedBytes&) = delete;
    BorrowedBytes& operator=(const BorrowedBytes&) = delete;
};

QByteArray mimeTypeOf(GMimeObject* object) {
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!type)
        return "text/plain";  // what a part without a Content-Type is
    char* text = g_mime_content_type_get_mime_type(type);
    const QByteArray result = QByteArray(text).toLower();
    g_free(text);
    return result;
}

QByteArray decodedContent(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (!content)
        return {};
    Ref<GMimeStream> stream(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, stream.object);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.object));
    return QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
}

// The part's body as it stands in the message, before decoding.
qint64 encodedSize(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    GMimeStream* stream = content ? g_mime_data_wrapper_get_stream(content) : nullptr;
    return stream ? g_mime_stream_length(stream) : 0;
}

// The Content-ID exactly as stored: GMime's own reading would drop blanks and convert 8-bit text.
QByteArray storedContentId(GMimeObject* object) {
    GMimeHeaderList* headers = g_mime_object_get_header_list(object);
    GMimeHeader* header = headers ? g_mime_header_list_get_header(headers, "Content-ID") : nullptr;
    const char* raw = header ? g_mime_header_get_raw_value(header) : nullptr;
    QByteArray id = QByteArray(raw).trimmed();
    if (id.startsWith('<') && id.endsWith('>'))
        id = id.mid(1, id.size() - 2);
    return id;
}

// The Content-ID of the picture part so far with the same type and bytes that stands for them, or id:
// a newsletter carries its separator once per block, and the view then fetches it once. The bytes of
// parts are compared only when their lengths agree, and then mostly only up to their first bytes.
QByteArray sameBytesAs(const PreviewMessage& message, const PreviewPicture& picture, const QByteArray& id) {
    const auto bytesOf = [&](const PreviewPicture& p) {
        return p.base64Start < 0 ? QByteArrayView(p.decoded)
                                 : QByteArrayView(message.source).sliced(p.base64Start, p.base64Length);
    };
    const QByteArrayView bytes = bytesOf(picture);
    for (auto it = message.pictures.cbegin(); it != message.pictures.cend(); ++it) {
        const PreviewPicture& other = it.value();
        if (other.viewId == it.key() && other.mimeType == picture.mimeType &&
            (other.base64Start < 0) == (picture.base64Start < 0) && bytesOf(other) == bytes)
            return it.key();
    }
    return id;
}

void collectParts(GMimeObject* object, PreviewMessage& message, bool& haveHtml, bool& havePlain) {
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
            collectParts(g_mime_multipart_get_part(multipart, i), message, haveHtml, havePlain);
        return;
    }
    if (!GMIME_IS_PART(object))
        return;
    GMimePart* part = GMIME_PART(object);
    const QByteArray type = mimeTypeOf(object);
    const QByteArray id = storedContentId(object);
    // A Content-ID that comes again names the first part that has it: a later one must not change what
    // the pictures that share the first one's address show.
    if (!id.isEmpty() && message.pictures.contains(id))
        return;
    if (!id.isEmpty()) {
        PreviewPicture picture{type, {}, -1, 0, {}};
        GMimeDataWrapper* content = g_mime_part_get_content(part);
        GMimeStream* body = content ? g_mime_data_wrapper_get_stream(content) : nullptr;
        // The parser keeps each body as a window on the message's bytes, so its bounds are offsets there.
        if (body && g_mime_part_get_content_encoding(part) == GMIME_CONTENT_ENCODING_BASE64 &&
            body->bound_end >= 0) {
            picture.base64Start = qsizetype(body->bound_start);
            picture.base64Length = qsizetype(body->bound_end - body->bound_start);
        } else {
            picture.decoded = decodedContent(part);
        }
        picture.viewId = sameBytesAs(message, picture, id);
        message.pictures.insert(id, picture);
    } else if (type == "text/html" && !haveHtml) {
        haveHtml = true;
        message.html = decodedContent(part);
        message.htmlCharset = QByteArray(g_mime_object_get_content_type_parameter(object, "charset"));
        message.htmlPartSize = encodedSize(part);
    } else if (type == "text/plain" && !havePlain) {
        havePlain = true;
        message.plainText = decodedContent(part);
    }
}

// The subject as a mail program shows it: lines unfolded, encoded words decoded; a subject of plain
// 8-bit characters is Windows-1252, as the renderer writes it.
QString subjectOf(GMimeMessage* parsed) {
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(parsed));
    GMimeHeader* header = headers ? g_mime_header_list_get_header(headers, "Subject") : nullptr;
    const char* raw = header ? g_mime_header_get_raw_value(header) : nullptr;
    if (!raw)
        return {};
    QByteArray value(raw);
    value.replace("\r\n", "").replace('\n', "");
    if (!value.contains("=?"))
        return decodeWindows1252(value).trimmed();
    char* decoded = g_mime_utils_header_decode_text(nullptr, value.constData());
    const QString text = QString::fromUtf8(decoded).trimmed();
    g_free(decoded);
    return text;
}

// The values of the base64 alphabet; -1 for everything else (line ends, padding).
constexpr std::array<qint8, 256> kBase64Values = [] {
    std::array<qint8, 256> values{};
    values.fill(-1);
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) values[uchar(alphabet[i])] = qint8(i);
    return values;
}();

}  // namespace

const PreviewPicture* PreviewMessage::picture(const QByteArray& contentId) const {
    const auto it = pictures.constFind(contentId);
    return it == pictures.cend() ? nullptr : &it.value();
}

QByteArray PreviewMessage::pictureBytes(const PreviewPicture& picture) const {
    if (picture.base64Start < 0)
        return picture.decoded;
    return decodeBase64(QByteArrayView(source).sliced(picture.base64Start, picture.base64Length));
}

QByteArray decodeBase64(QByteArrayView text) {
    QByteArray out(text.size() / 4 * 3 + 3, Qt::Uninitialized);
    auto* o = reinterpret_cast<uchar*>(out.data());
    const auto* s = reinterpret_cast<const uchar*>(text.data());
    const auto* end = s + text.size();
    quint32 bits = 0;
    int count = 0;  // characters in bits
    while (s < end) {
        // Whole groups of four, the common case between the line ends.
        if (count == 0 && end - s >= 4) {
            const int a = kBase64Values[s[0]], b = kBase64Values[s[1]], c = kBase64Values[s[2]],
                      d = kBase64Values[s[3]];
            if ((a | b | c | d) >= 0) {
                const quint32 group = quint32(a) << 18 | quint32(b) << 12 | quint32(c) << 6 | quint32(d);
                *o++ = uchar(group >> 16);
                *o++ = uchar(group >> 8);
                *o++ = uchar(group);
                s += 4;
                continue;
            }
        }
        const uchar character = *s++;
        const int value = kBase64Values[character];
        if (value < 0) {
            if (character == '=')
                break;  // padding: the end of the data
            continue;   // a line end or another character a mail reader skips
        }
        bits = bits << 6 | quint32(value);
        if (++count == 4) {
            *o++ = uchar(bits >> 16);
            *o++ = uchar(bits >> 8);
            *o++ = uchar(bits);
            bits = 0;
            count = 0;
        }
    }
    if (count == 2)
        *o++ = uchar(bits >> 4);
    if (count == 3) {
        *o++ = uchar(bits >> 10);
        *o++ = uchar(bits >> 2);
    }
    out.truncate(o - reinterpret_cast<uchar*>(out.data()));
    return out;
}

PreviewMessage parsePreviewMessage(const QByteArray& bytes, const QString& name) {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
    PreviewMessage message;
    message.source = bytes;
    message.messageSize = bytes.size();
    bool parsedOk = false;
    bool haveHtml = false;
    bool havePlain = false;
    if (quint64(bytes.size()) <= G_MAXUINT) {  // GMime's arrays count in 32 bits; no message comes near
        // The parser reads the message where it already is: a message is mostly pictures, and a copy
        // for the parser (a memory stream copies what it is given) would cost as much as the reading.
        // The stream is told it does not own the bytes, and the parsed message keeps windows on them
        // only as long as this scope.
        BorrowedBytes borrowed(message.source);
        Ref<GMimeStream> stream(g_mime_stream_mem_new_with_byte_array(borrowed.array));
        g_mime_stream_mem_set_owner(GMIME_STREAM_MEM(stream.object), FALSE);
        Ref<GMimeParser> parser(g_mime_parser_new_with_stream(stream.object));
        g_mime_parser_set_persist_stream(parser.object, TRUE);
        Ref<GMimeMessage> parsed(g_mime_parser_construct_message(parser.object, nullptr));
        GMimeObject* body = parsed.object ? g_mime_message_get_mime_part(parsed.object) : nullptr;
        if (body) {
            parsedOk = true;
            collectParts(body, message, haveHtml, havePlain);
            message.subject = subjectOf(parsed.object);
        }
    }
    if (!parsedOk)
        throw Error(
            QStringLiteral("Die Vorschau kann nicht gezeigt werden: %1 ist keine lesbare E-Mail-Nachricht.")
                .arg(name));
    if (!haveHtml)
        throw Error(
            QStringLiteral("Die Vorschau kann nicht gezeigt werden: %1 enthält keinen HTML-Teil.").arg(name));
    return message;
}

PreviewMessage readPreviewMessage(const QString& path) {
    return parsePreviewMessage(readFile(path), QFileInfo(path).fileName());
}

namespace {

QByteArray contentIdFromEncoded(const QByteArray& encoded) {
    const QByteArray bytes = QByteArray::fromPercentEncoding(encoded);
    QStringDecoder fromUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = fromUtf8(bytes);
    if (fromUtf8.hasError())
        return bytes;
    return encodeWindows1252(text).value_or(bytes);
}

constexpr char kPicturePath[] = "cid/";

}  // namespace

QUrl previewAddress(const QString& previewName, quint64 number) {
    QUrl url;
    url.setScheme(QLatin1String(kPreviewScheme));
    url.setHost(QLatin1String(kPreviewHost));
    url.setPath(QStringLiteral("/%1/%2/").arg(previewName).arg(number));
    return url;
}

std::optional<PreviewRequest> previewRequestOf(const QUrl& url) {
    if (url.scheme() != QLatin1String(kPreviewScheme) || url.host() != QLatin1String(kPreviewHost))
        return std::nullopt;
    // "/preview1/7/" or "/preview1/7/cid/<Content-ID>"
    const QByteArray path = url.path(QUrl::FullyEncoded).toLatin1();
    const qsizetype nameEnd = path.indexOf('/', 1);
    const qsizetype numberEnd = nameEnd < 0 ? -1 : path.indexOf('/', nameEnd + 1);
    if (!path.startsWith('/') || nameEnd <= 1 || numberEnd < 0)
        return std::nullopt;
    PreviewRequest request;
    request.previewName = QString::fromLatin1(path.sliced(1, nameEnd - 1));
    bool ok = false;
    request.number = path.sliced(nameEnd + 1, numberEnd - nameEnd - 1).toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    const QByteArray rest = path.sliced(numberEnd + 1);
    if (rest.isEmpty())
        return request;
    if (!rest.startsWith(kPicturePath) || rest.size() == qsizetype(sizeof kPicturePath) - 1)
        return std::nullopt;
    request.isPicture = true;
    request.contentId = contentIdFromEncoded(rest.sliced(sizeof kPicturePath - 1));
    return request;
}

QByteArray htmlForView(const PreviewMessage& message, const QUrl& page) {
    const QByteArray& html = message.html;
    const QByteArray base = page.toEncoded() + kPicturePath;
    QByteArray out;
    out.reserve(html.size() + html.size() / 8);
    qsizetype copied = 0;
    for (qsizetype at = 0; (at = html.indexOf(':', at)) >= 0; ++at) {
        // "cid:" where a URL starts: after a quote, an "=" (an attribute without quotes) or "(" (url()).
        const qsizetype start = at - 3;
        if (start < 1 || qstrnicmp(html.constData() + start, "cid", 3) != 0)
            continue;
        const char before = html[start - 1];
        const QByteArray ends = before == '"'    ? QByteArray("\"")
                                : before == '\'' ? QByteArray("'")
                                : before == '('  ? QByteArray(")\"' \t\r\n")
                                : before == '='  ? QByteArray(" \t\r\n>")
                                                 : QByteArray();
        if (ends.isEmpty())
            continue;
        qsizetype end = at + 1;
        while (end < html.size() && !ends.contains(html[end])) ++end;
        QByteArray id = html.sliced(at + 1, end - at - 1);
        if (const PreviewPicture* picture = message.picture(id))
            id = picture->viewId;
        // Encoded as a browser encodes the reference it reads: the page's characters as UTF-8.
        id = decodeWindows1252(id).toUtf8();
        out.append(html.sliced(copied, start - copied));
        out.append(base);
        out.append(id.toPercentEncoding());
        copied = end;
        at = end - 1;
    }
    out.append(html.sliced(copied));
    return out;
}

QString sizeSummary(const PreviewMessage& message) {
    return QStringLiteral("Nachricht: %1 · HTML-Teil: %2")
        .arg(sizeText(message.messageSize), sizeText(message.htmlPartSize));
}

QString sizeWarning(const PreviewMessage& message) {
    QStringList warnings;
    if (message.messageSize > kProviderLimit)
        warnings.append(QStringLiteral(
            "Die Nachricht ist größer als 10 MB. Viele Anbieter nehmen so große Nachrichten nicht an."));
    if (message.htmlPartSize > kClipLimit)
        warnings.append(QStringLiteral(
            "Gmail kürzt Nachrichten ab etwa 102 KB (dieser HTML-Teil ist größer als 100 KB): "
            "Das Ende mit dem Impressum und dem Abmeldelink sehen die Leser dann erst nach einem "
            "weiteren Klick."));
    return warnings.join(u' ');
}

}  // namespace zw
