#pragma once

#include <QString>

namespace zw {

// The answers of the save-changes question. Cancel is the close box: none of the three buttons.
enum class CloseAnswer { Yes, No, Abort, Cancel };

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

    // Preview and single mail.
    // A plain message box (no icon, one OK button), as the shell's failures were reported. Prompts
    // that have no such box tell it as an information.
    virtual void plainMessage(const QString& text) { information(text); }
};

}  // namespace zw
