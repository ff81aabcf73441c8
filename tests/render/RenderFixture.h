#pragma once

#include <QList>

#include <gtest/gtest.h>

#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "template/BlockFiles.h"

namespace zw::test {

// A program folder with an "Images/" folder, three setting pictures and room for block files.
class RenderFixture : public ::testing::Test {
public:
    RenderFixture();

    // Writes a picture of the given size into the images folder: a JPEG's first bytes, then distinct
    // bytes per name.
    QByteArray addPicture(const QByteArray& name, int size = 200);
    void addBlock(const NewsBlock& block);
    QList<QByteArray> pictureBytes(const QList<QByteArray>& names) const;

    // The message before the soft line breaks, and the lines of its HTML part from its delimiter
    // through the empty line after "------=_NextPart_2--".
    QList<QByteArray> assembled();
    QList<QByteArray> htmlPart();
    // The lines of the plain-text part's body.
    QList<QByteArray> plainText();

    TempFolder folder;
    QString images;
    RenderInput input;
    FakePrompts prompts;
    int blocks = 0;
};

}  // namespace zw::test
