#include "support/MimeCheck.h"

#include <gmime/gmime.h>

#include <mutex>

namespace zw::test {

namespace {

void initGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

QByteArray mimeTypeOf(GMimeObject* object) {
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!type) return {};
    char* text = g_mime_content_type_get_mime_type(type);
    QByteArray result(text);
    g_free(text);
    return result.toLower();
}

QByteArray decodedContent(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (!content) return {};
    GMimeStream* stream = g_mime_stream_mem_new();
    g_mime_data_wrapper_write_to_stream(content, stream);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream));
    QByteArray result(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
    g_object_unref(stream);
    return result;
}

QList<QByteArray> cidReferences(const QByteArray& html) {
    QList<QByteArray> references;
    for (qsizetype at = html.indexOf("cid:"); at >= 0; at = html.indexOf("cid:", at + 4)) {
        const qsizetype start = at + 4;
        qsizetype end = html.indexOf('"', start);
        if (end < 0) end = html.size();
        references.append(html.mid(start, end - start));
    }
    return references;
}

void checkAlternative(GMimeObject* object, MimeNewsletter& result) {
    if (mimeTypeOf(object) != "multipart/alternative" || !GMIME_IS_MULTIPART(object)) {
        result.problems.append(QStringLiteral("first part is %1, not multipart/alternative")
                                   .arg(QString::fromLatin1(mimeTypeOf(object))));
        return;
    }
    GMimeMultipart* alternative = GMIME_MULTIPART(object);
    const int count = g_mime_multipart_get_count(alternative);
    if (count != 2) result.problems.append(QStringLiteral("multipart/alternative has %1 parts, not 2").arg(count));
    const char* expected[] = {"text/plain", "text/html"};
    for (int i = 0; i < count && i < 2; ++i) {
        GMimeObject* child = g_mime_multipart_get_part(alternative, i);
        if (mimeTypeOf(child) != expected[i] || !GMIME_IS_PART(child)) {
            result.problems.append(QStringLiteral("alternative part %1 is %2, not %3")
                                       .arg(i + 1)
                                       .arg(QString::fromLatin1(mimeTypeOf(child)), QLatin1String(expected[i])));
            continue;
        }
        GMimePart* part = GMIME_PART(child);
        if (g_mime_part_get_content_encoding(part) != GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE)
            result.problems.append(QStringLiteral("%1 is not quoted-printable").arg(QLatin1String(expected[i])));
        (i == 0 ? result.plainText : result.html) = decodedContent(part);
    }
}

void checkPicture(GMimeObject* object, int index, MimeNewsletter& result) {
    const QByteArray type = mimeTypeOf(object);
    if (!type.startsWith("image/") || !GMIME_IS_PART(object)) {
        result.problems.append(QStringLiteral("part %1 is %2, not a picture").arg(index).arg(QString::fromLatin1(type)));
        return;
    }
    GMimePart* part = GMIME_PART(object);
    if (g_mime_part_get_content_encoding(part) != GMIME_CONTENT_ENCODING_BASE64)
        result.problems.append(QStringLiteral("picture part %1 is not base64").arg(index));
    MimePicture picture;
    picture.contentId = QByteArray(g_mime_object_get_content_id(object));
    if (picture.contentId.isEmpty()) result.problems.append(QStringLiteral("picture part %1 has no Content-ID").arg(index));
    picture.mimeType = type;
    picture.bytes = decodedContent(part);
    result.pictures.append(picture);
}

void checkReferences(MimeNewsletter& result) {
    result.references = cidReferences(result.html);
    for (const QByteArray& reference : result.references) {
        int parts = 0;
        for (const MimePicture& picture : result.pictures) parts += picture.contentId == reference ? 1 : 0;
        if (parts != 1)
            result.problems.append(
                QStringLiteral("cid:%1 has %2 picture parts").arg(QString::fromLatin1(reference)).arg(parts));
    }
    for (const MimePicture& picture : result.pictures) {
        if (!result.references.contains(picture.contentId))
            result.problems.append(
                QStringLiteral("picture %1 is not referenced").arg(QString::fromLatin1(picture.contentId)));
    }
}

}  // namespace

MimeNewsletter parseNewsletter(const QByteArray& message) {
    initGMime();
    MimeNewsletter result;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(message.constData(), size_t(message.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* parsed = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!parsed) {
        result.problems.append(QStringLiteral("GMime cannot parse the message"));
        return result;
    }
    result.subject = QString::fromUtf8(g_mime_message_get_subject(parsed));
    GMimeObject* body = g_mime_message_get_mime_part(parsed);
    if (!body || mimeTypeOf(body) != "multipart/related" || !GMIME_IS_MULTIPART(body)) {
        result.problems.append(QStringLiteral("message is %1, not multipart/related")
                                   .arg(QString::fromLatin1(body ? mimeTypeOf(body) : QByteArray("empty"))));
    } else {
        GMimeMultipart* related = GMIME_MULTIPART(body);
        const int count = g_mime_multipart_get_count(related);
        if (count < 1)
            result.problems.append(QStringLiteral("multipart/related is empty"));
        else
            checkAlternative(g_mime_multipart_get_part(related, 0), result);
        for (int i = 1; i < count; ++i) checkPicture(g_mime_multipart_get_part(related, i), i, result);
        checkReferences(result);
    }
    g_object_unref(parsed);
    return result;
}

::testing::AssertionResult isNewsletter(const QByteArray& message, const QString& subject,
                                        const QList<QByteArray>& pictures) {
    const MimeNewsletter parsed = parseNewsletter(message);
    QStringList problems = parsed.problems;
    if (parsed.subject != subject)
        problems.append(QStringLiteral("subject is \"%1\", not \"%2\"").arg(parsed.subject, subject));
    if (parsed.pictures.size() != pictures.size())
        problems.append(QStringLiteral("%1 picture parts, not %2").arg(parsed.pictures.size()).arg(pictures.size()));
    for (qsizetype i = 0; i < parsed.pictures.size() && i < pictures.size(); ++i) {
        if (parsed.pictures[i].bytes != pictures[i])
            problems.append(QStringLiteral("picture part %1 (%2) decodes to %3 bytes that differ from its file (%4 bytes)")
                                .arg(i + 1)
                                .arg(QString::fromLatin1(parsed.pictures[i].contentId))
                                .arg(parsed.pictures[i].bytes.size())
                                .arg(pictures[i].size()));
    }
    if (problems.isEmpty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems.join(QStringLiteral("; ")).toStdString();
}

}  // namespace zw::test
