#pragma once

#include <QDir>

#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "template/BlockCycle.h"

namespace zw::test {

// The shipped templates, as the program's folder lists them.
inline QStringList shippedTemplates() {
    QStringList files{u"Zettelwerk_Vorlage.nld"_qs, u"NEW.nld"_qs};
    for (const QString& name : QDir(shippedDataFolder() + u"Vorlagen"_qs).entryList({u"*.nld"_qs}))
        files.append(u"Vorlagen/"_qs + name);
    return files;
}

// A template as zettelwerk-render renders it, its pictures from the shipped data/Images.
inline QByteArray renderShipped(const QString& templatePath, FakePrompts& prompts) {
    TempFolder work;
    const QString images = shippedDataFolder() + u"Images/"_qs;
    const RebuildResult loaded = loadTemplate(templatePath, images, BlockFiles(work.path()));
    RenderInput input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
    input.copyFolder = work.subfolder(u"copies"_qs);
    return crlf(BuildMessageLines(input, prompts));
}

}  // namespace zw::test
