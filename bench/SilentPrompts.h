#pragma once

#include "platform/Prompts.h"

namespace zw {

// A benchmark has nobody to ask: every message is dropped and every question cancelled.
class SilentPrompts : public Prompts {
public:
    void information(const QString&) override {}
    void error(const QString&) override {}
    CloseAnswer askSaveChanges() override { return CloseAnswer::Cancel; }
    QString chooseTemplateToOpen(const QString&) override { return {}; }
    QString chooseTemplateSaveName(const QString&, const QString&) override { return {}; }
};

}  // namespace zw
