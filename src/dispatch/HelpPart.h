#pragma once

#include <QObject>
#include <QString>

namespace zw {

class Launcher;
class Prompts;

// The addresses the help commands open.
struct HelpAddresses {
    QString helpPage;        // the local help page
    QString productWebPage;  // where updates are
    QString makerMail;       // the maker's e-mail address, without "mailto:"
};

// Help, update, about, the start-up tip and the showcase at exit. The tip and the showcase each have a
// marker file in the program folder that switches them off for good.
class HelpPart : public QObject {
    Q_OBJECT
public:
    HelpPart(QString programFolder, Prompts& prompts, Launcher& launcher, HelpAddresses addresses,
             QObject* parent = nullptr);

    void Hilfedatei1Click();
    void Update1Click() { UpdateButtonClick(); }
    void Info1Click();
    void UpdateButtonClick();
    void URLLabelClick();
    void EmailLabelClick();

    // The main window was activated: the tip comes at the first activation of a run only (the window is
    // activated again after every dialog and every switch back from another program).
    void FormActivate();
    // The main window has agreed to close: the showcase, unless it was switched off.
    void showShowcaseAtExit();

Q_SIGNALS:
    // The outcome of an open, once it is known.
    void launched(bool started);

private:
    void open(const QString& target, const QString& failure);
    bool markerExists(const QString& name) const;
    void writeMarker(const QString& name) const;

    QString programFolder_;
    Prompts& prompts_;
    Launcher& launcher_;
    HelpAddresses addresses_;
    bool activated_ = false;
};

}  // namespace zw
