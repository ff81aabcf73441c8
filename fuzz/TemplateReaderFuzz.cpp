// The template reader on any bytes: no crash, and the blocks it finds survive a write and a read.
#include <cstdint>
#include <cstdlib>

#include "template/NldFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const zw::TemplateSettings settings = zw::readSettings(bytes);
    const QList<zw::BlockSection> sections = zw::readBlockSections(bytes);
    if (zw::countBlockHeaders(bytes) != sections.size())
        std::abort();

    QList<QList<QByteArray>> blocks;
    for (const zw::BlockSection& section : sections) blocks.append(section.lines);
    const QByteArray written = zw::writeTemplate(settings, blocks);
    const QList<zw::BlockSection> back = zw::readBlockSections(written);
    if (back.size() != sections.size())
        std::abort();
    for (qsizetype i = 0; i < back.size(); ++i) {
        if (back[i].lines != blocks[i])
            std::abort();
    }
    // The settings are written first and never take a block's place.
    if (zw::readSettings(written).DateOn != (settings.dateOn() ? "TRUE" : "FALSE"))
        std::abort();
    return 0;
}
