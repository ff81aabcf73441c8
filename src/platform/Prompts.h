#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace zw {

// The answers of the save-changes question. Cancel is the close box: none of the three buttons.
enum class CloseAnswer { Yes, No, Abort, Cancel };
// The answers of the offer to resume an interrupted sending: "Ja", "Nein", "Später".
enum class ResumeAnswer { Yes, No, Later };

// Everything modal the program asks or tells the user. The desktop shows real dialogs; the tests
// pass a scripted fake that answers and records, so no test ever waits on a modal loop.
class Prompts {
public:
    virtual ~Prompts() = default;

    // An information message box with a single OK button (caption "Informationen").
    virtual void information(const QString& text) = 0;
    // The application's error report: a message box with the German error text.
    virtual void error(const QString& text) = 0;

    // The save-changes question ("Wollen Sie die Änderungen in dieser Vorlage speichern?").
    virtual CloseAnswer askSaveChanges() = 0;

    // The template open dialog (filter "Zettelwerk|*.nld"), starting in startFolder with no file
    // name. Returns the chosen path, or an empty string when the user cancels.
    virtual QString chooseTemplateToOpen(const QString& startFolder) = 0;
    // The template save dialog: starts with suggestedPath (or, without one, in startFolder), asks
    // before overwriting, adds ".nld" to a name typed without extension. Returns the chosen path, or
    // empty when cancelled.
    virtual QString chooseTemplateSaveName(const QString& suggestedPath, const QString& startFolder) = 0;

    // The hand-off to the serial-mail program, help, about, tip and showcase. Programs without windows
    // (the command-line renderer, the benchmarks) keep the defaults: nothing is shown, every question
    // is answered no.
    // A plain message box with the text and OK: how a failed hand-off to the desktop is reported.
    virtual void plainMessage(const QString& text) { error(text); }
    // The start notice of the serial-mail program naming the message file to open in it; true for
    // "Weiter", false for "Abbrechen" or the close box.
    virtual bool confirmSerialMailStart(const QString& messageFileName) { return false; }
    // The notice that the serial-mail program is not installed; true when the user asks for its page.
    virtual bool offerSerialMailProgram() { return false; }
    // The about box. Its "Update" button and its web and mail labels run these while it is open.
    struct AboutActions {
        std::function<void()> update, web, mail;
    };
    virtual void showAbout(const AboutActions& actions) {}
    // The start-up tip; true when it was closed with "OK" and "Diese Meldung nicht mehr anzeigen" ticked.
    virtual bool showTip() { return false; }
    // The showcase at exit; its "Mehr Infos..." buttons call moreInfo with the product's address. True
    // when it was closed with "Tipp nicht mehr anzeigen!" ticked.
    virtual bool showShowcase(const std::function<void(const QString& address)>& moreInfo) { return false; }
    // News-text commands and colours.
    struct LinkAnswer {
        bool ok = false;  // closed with "OK"
        QString address;  // the field as the user left it, also after a cancel
    };
    // Where nobody can answer (the renderer without a window), both dialogs count as cancelled.
    // The hyperlink dialog, its field showing address (what was typed the time before).
    virtual LinkAnswer askHyperlink(const QString& address) { return {false, address}; }
    // The colour dialog, opening with colour (a Windows colour value: red in the lowest byte). Returns
    // the chosen colour, or nothing when cancelled.
    virtual std::optional<quint32> chooseColour(quint32 colour) { return std::nullopt; }

    // Pictures.
    // The picture-open dialog, one filter "Bilder (*.jpg *.jpeg *.png *.heic *.heif *.webp)" listing
    // those files in any case.
    // Returns the chosen path, or an empty string when the user cancels.
    virtual QString choosePicture() { return {}; }
    // The width question `TResizeForm`, showing resizeWidth. "Ja" leaves the width to use in resizeWidth
    // and returns true; "Nein" returns false and changes nothing.
    virtual bool askResizeWidth(int& resizeWidth) { return false; }

    // Sending.
    // The password for sending, asked with the question given (it names the account). Nothing when
    // the user cancels.
    virtual std::optional<QString> askPassword(const QString& question) { return std::nullopt; }
    // A notice that offers the test mail instead (the single mail cannot reach a mail program); true
    // when the user chooses "Testmail an mich senden".
    virtual bool offerTestMail(const QString& text) {
        information(text);
        return false;
    }

    // Sending to a list.
    // The offer at start-up to resume an interrupted sending; the close box counts as "Später".
    virtual ResumeAnswer askResumeCampaign(const QString& text) { return ResumeAnswer::Later; }
    // The question before the program closes while a newsletter is being sent; true to close (the
    // sending is paused).
    virtual bool confirmCloseWhileSending(const QString& text) { return false; }
};

}  // namespace zw
