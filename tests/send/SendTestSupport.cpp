#include "send/SendTestSupport.h"

#include <gmime/gmime.h>

#include <mutex>

#include "platform/Text.h"
#include "render/RenderInput.h"
#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace zw::test {

QString writeShippedTemplate(const QString& folder, const QByteArray& firstBlockTextPrefix) {
    QByteArray nld = readAll(shippedDataFolder() + QStringLiteral("Zettelwerk_Vorlage.nld"));
    // The first block's text is the fifth line of its section.
    const qsizetype block = nld.indexOf("[BLOCK001]\r\n");
    qsizetype text = block;
    for (int line = 0; line < 5; ++line) text = nld.indexOf('\n', text) + 1;
    nld.insert(text, firstBlockTextPrefix);
    const QString path = folder + QStringLiteral("/Vorlage.nld");
    writeAll(path, nld);
    return path;
}

QByteArray renderShippedTemplate(const QByteArray& firstBlockTextPrefix) {
    TempFolder work;
    const QString images = shippedDataFolder() + QStringLiteral("Images/");
    const RebuildResult loaded =
        loadTemplate(writeShippedTemplate(work.path(), firstBlockTextPrefix), images, BlockFiles(work.path()));
    RenderInput input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
    input.copyFolder = work.path();
    FakePrompts prompts;
    RenderMessage(input, work.file(QStringLiteral("out.eml")), prompts);
    return readAll(work.file(QStringLiteral("out.eml")));
}

ParsedHeader parseHeader(const QByteArray& message) {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
    ParsedHeader header;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(message.constData(), size_t(message.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* parsed = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!parsed)
        return header;
    auto mailbox = [](InternetAddressList* list, QString* name, QString* address) {
        if (!list || internet_address_list_length(list) < 1)
            return;
        InternetAddress* first = internet_address_list_get_address(list, 0);
        if (name)
            *name = QString::fromUtf8(internet_address_get_name(first));
        if (INTERNET_ADDRESS_IS_MAILBOX(first))
            *address = QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(first)));
    };
    mailbox(g_mime_message_get_from(parsed), &header.fromName, &header.fromAddress);
    mailbox(g_mime_message_get_to(parsed), nullptr, &header.toAddress);
    header.subject = QString::fromUtf8(g_mime_message_get_subject(parsed));
    header.messageId = QString::fromUtf8(g_mime_message_get_message_id(parsed));
    if (GDateTime* date = g_mime_message_get_date(parsed))
        header.date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(date));
    g_object_unref(parsed);
    return header;
}

}  // namespace zw::test
