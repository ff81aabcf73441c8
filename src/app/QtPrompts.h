#pragma once

#include "platform/Prompts.h"

class QWidget;

namespace zw {

class TCloseForm;
class TResizeForm;

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

    // Pictures.
    QString choosePicture() override;
    bool askResizeWidth(int& resizeWidth) override;

private:
    QString productTitle_;
    QWidget* parent_ = nullptr;
    TCloseForm* closeForm_ = nullptr;

    // Pictures: the folder of the last chosen picture, and the width question, made once.
    QString pictureFolder_;
    TResizeForm* resizeForm_ = nullptr;
};

}  // namespace zw
