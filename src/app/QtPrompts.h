#pragma once

#include "platform/Prompts.h"

class QColorDialog;
class QWidget;

namespace zw {

struct ProductBranding;
class TAboutBox;
class TCloseForm;
class TLinkForm;
class TNoVentozaForm;
class TResizeForm;
class TTipForm;
class TVentozaForm;
class TWerbungForm;

// The real dialogs of the desktop.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QString productTitle);

    // The window the dialogs belong to; set once the main window exists.
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    // Messages, the question before closing, the template files.
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

    // Pictures.
    QString choosePicture() override;
    bool askResizeWidth(int& resizeWidth) override;

    // The notices of the serial-mail hand-off, the about box, the tip and the showcase: created once,
    // owned by the parent window, which must be set first.
    void createDispatchWindows(const ProductBranding& branding, const QString& programFolder);
    void plainMessage(const QString& text) override;
    bool confirmSerialMailStart(const QString& messageFileName) override;
    bool offerSerialMailProgram() override;
    void showAbout(const AboutActions& actions) override;
    bool showTip() override;
    bool showShowcase(const std::function<void(const QString& address)>& moreInfo) override;

    // Sending.
    std::optional<QString> askPassword(const QString& question) override;
    bool offerTestMail(const QString& text) override;

    // Sending to a list.
    ResumeAnswer askResumeCampaign(const QString& text) override;
    bool confirmCloseWhileSending(const QString& text) override;

private:
    QString productTitle_;
    QWidget* front() const;

    QWidget* parent_ = nullptr;
    // Messages, the question before closing, the template files.
    TCloseForm* closeForm_ = nullptr;
    // News-text commands and colours: ColorDialog1 is one dialog for all colour buttons, made when
    // first needed.
    TLinkForm* linkForm_ = nullptr;
    QColorDialog* colourDialog_ = nullptr;
    // Pictures: the folder of the last chosen picture, and the width question, made once.
    QString pictureFolder_;
    TResizeForm* resizeForm_ = nullptr;
    // The serial-mail hand-off, the about box, the tip and the showcase.
    TVentozaForm* ventozaForm_ = nullptr;
    TNoVentozaForm* noVentozaForm_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TTipForm* tipForm_ = nullptr;
    TWerbungForm* werbungForm_ = nullptr;
};

}  // namespace zw
