#pragma once

#include "platform/Prompts.h"

class QWidget;

namespace zw {

class TCloseForm;

// The real dialogs of the desktop.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QString productTitle);

    // The window the dialogs belong to; set once the main window exists.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    void setCloseForm(TCloseForm* form) { closeForm_ = form; }

    void information(const QString& text) override;
    void error(const QString& text) override;
    CloseAnswer askSaveChanges() override;
    QString chooseTemplateToOpen(const QString& startFolder) override;
    QString chooseTemplateSaveName(const QString& suggestedPath, const QString& startFolder) override;

    // Preview and single mail.
    void plainMessage(const QString& text) override;

private:
    QString productTitle_;
    QWidget* parent_ = nullptr;
    TCloseForm* closeForm_ = nullptr;
};

}  // namespace zw
