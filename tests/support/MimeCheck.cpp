#include "support/MimeCheck.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <mutex>

namespace zw::test {

namespace {

QByteArray mimeTypeOf(GMimeObject* object) {
    GMimeContentType* type = object ? g_mime_object_get_content_type(object) : nullptr;
    if (!type) return "empty";
    char* text = g_mime_content_type_get_mime_type(type);
    const QByteArray result = QByteArray(text).toLower();
    g_free(text);
    return result;
}

QByteArray decodedContent(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (!content) return {};
    GMimeStream* stream = g_mime_stream_mem_new();
    g_mime_data_wrapper_write_to_stream(content, stream);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream));
    const QByteArray result(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
    g_object_unref(stream);
    return result;
}

// A leaf part of the given type (or type prefix) and transfer encoding; its decoded body, or a problem.
GMimePart* expectPart(GMimeObject* object, const char* type, GMimeContentEncoding encoding, const QString& what,
                      QStringList& problems) {
    if (!mimeTypeOf(object).startsWith(type) || !GMIME_IS_PART(object)) {
        problems.append(
            u"%1 is %2, not %3"_qs.arg(what, QString::fromLatin1(mimeTypeOf(object)), QLatin1String(type)));
        return nullptr;
    }
    if (g_mime_part_get_content_encoding(GMIME_PART(object)) != encoding)
        problems.append(u"%1 has the wrong transfer encoding"_qs.arg(what));
    return GMIME_PART(object);
}

void checkAlternative(GMimeObject* object, MimeNewsletter& result) {
    if (mimeTypeOf(object) != "multipart/alternative" || !GMIME_IS_MULTIPART(object)) {
        result.problems.append(
            u"first part is %1, not multipart/alternative"_qs.arg(QString::fromLatin1(mimeTypeOf(object))));
        return;
    }
    GMimeMultipart* alternative = GMIME_MULTIPART(object);
    const int count = g_mime_multipart_get_count(alternative);
    if (count != 2) result.problems.append(u"multipart/alternative has %1 parts, not 2"_qs.arg(count));
    const char* types[] = {"text/plain", "text/html"};
    for (int i = 0; i < count && i < 2; ++i) {
        GMimePart* part = expectPart(g_mime_multipart_get_part(alternative, i), types[i],
                                     GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE, u"alternative part %1"_qs.arg(i + 1),
                                     result.problems);
        if (part) (i == 0 ? result.plain : result.html) = decodedContent(part);
    }
}

}  // namespace

MimeNewsletter parseNewsletter(const QByteArray& message) {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
    MimeNewsletter result;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(message.constData(), size_t(message.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* parsed = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!parsed) {
        result.problems.append(u"GMime cannot parse the message"_qs);
        return result;
    }
    result.subject = QString::fromUtf8(g_mime_message_get_subject(parsed));
    InternetAddressList* from = g_mime_message_get_from(parsed);
    if (from && internet_address_list_length(from) == 1) {
        InternetAddress* sender = internet_address_list_get_address(from, 0);
        result.fromName = QString::fromUtf8(internet_address_get_name(sender));
        if (INTERNET_ADDRESS_IS_MAILBOX(sender))
            result.fromAddress =
                QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(sender)));
    }
    GMimeObject* body = g_mime_message_get_mime_part(parsed);
    if (mimeTypeOf(body) != "multipart/related" || !GMIME_IS_MULTIPART(body)) {
        result.problems.append(
            u"message is %1, not multipart/related"_qs.arg(QString::fromLatin1(mimeTypeOf(body))));
        g_object_unref(parsed);
        return result;
    }
    GMimeMultipart* related = GMIME_MULTIPART(body);
    const int count = g_mime_multipart_get_count(related);
    if (count < 1) result.problems.append(u"multipart/related is empty"_qs);
    else checkAlternative(g_mime_multipart_get_part(related, 0), result);
    for (int i = 1; i < count; ++i) {
        GMimeObject* object = g_mime_multipart_get_part(related, i);
        GMimePart* part = expectPart(object, "image/", GMIME_CONTENT_ENCODING_BASE64, u"part %1"_qs.arg(i),
                                     result.problems);
        if (!part) continue;
        const MimePicture picture{QByteArray(g_mime_object_get_content_id(object)), decodedContent(part)};
        if (picture.contentId.isEmpty()) result.problems.append(u"picture part %1 has no Content-ID"_qs.arg(i));
        result.pictures.append(picture);
    }
    g_object_unref(parsed);

    // Every "cid:" reference of the HTML has exactly one part, and every part is referenced.
    for (qsizetype at = result.html.indexOf("cid:"); at >= 0; at = result.html.indexOf("cid:", at + 4)) {
        const qsizetype end = result.html.indexOf('"', at + 4);
        result.references.append(result.html.mid(at + 4, end < 0 ? -1 : end - at - 4));
    }
    for (const QByteArray& reference : result.references) {
        const auto parts = std::count_if(result.pictures.cbegin(), result.pictures.cend(),
                                         [&](const MimePicture& p) { return p.contentId == reference; });
        if (parts != 1)
            result.problems.append(u"cid:%1 has %2 picture parts"_qs.arg(QString::fromLatin1(reference)).arg(parts));
    }
    for (const MimePicture& picture : result.pictures) {
        if (!result.references.contains(picture.contentId))
            result.problems.append(u"picture %1 is not referenced"_qs.arg(QString::fromLatin1(picture.contentId)));
    }
    return result;
}

QList<QByteArray> plainLines(const QByteArray& message) {
    QByteArray plain = parseNewsletter(message).plain;
    plain.replace("\r\n", "\n");
    if (plain.endsWith('\n')) plain.chop(1);
    return plain.split('\n');
}

::testing::AssertionResult isNewsletter(const QByteArray& message, const QString& subject,
                                        const QList<QByteArray>& pictures) {
    const MimeNewsletter parsed = parseNewsletter(message);
    QStringList problems = parsed.problems;
    if (parsed.subject != subject) problems.append(u"subject is \"%1\", not \"%2\""_qs.arg(parsed.subject, subject));
    if (parsed.pictures.size() != pictures.size())
        problems.append(u"%1 picture parts, not %2"_qs.arg(parsed.pictures.size()).arg(pictures.size()));
    for (qsizetype i = 0; i < parsed.pictures.size() && i < pictures.size(); ++i) {
        if (parsed.pictures[i].bytes != pictures[i])
            problems.append(u"picture part %1 (%2) decodes to %3 bytes that differ from its file (%4 bytes)"_qs
                                .arg(i + 1)
                                .arg(QString::fromLatin1(parsed.pictures[i].contentId))
                                .arg(parsed.pictures[i].bytes.size())
                                .arg(pictures[i].size()));
    }
    if (problems.isEmpty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems.join(u"; "_qs).toStdString();
}

}  // namespace zw::test
