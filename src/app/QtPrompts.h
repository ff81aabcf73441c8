#pragma once

#include "platform/Prompts.h"

class QColorDialog;
class QWidget;

namespace zw {

class TCloseForm;
class TLinkForm;

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

    // News-text commands and colours.
    void setLinkForm(TLinkForm* form) { linkForm_ = form; }
    LinkAnswer askHyperlink(const QString& address) override;
    std::optional<quint32> chooseColour(quint32 colour) override;

private:
    QString productTitle_;
    QWidget* parent_ = nullptr;
    TCloseForm* closeForm_ = nullptr;
    TLinkForm* linkForm_ = nullptr;
    // ColorDialog1: one dialog for all colour buttons, made when first needed.
    QColorDialog* colourDialog_ = nullptr;
};

}  // namespace zw
