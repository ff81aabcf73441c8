#include "dispatch/HelpPart.h"

#include "dispatch/HelpTexts.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"

namespace zw {

HelpPart::HelpPart(QString programFolder, Prompts& prompts, Launcher& launcher, HelpAddresses addresses,
                   QObject* parent)
    : QObject(parent),
      programFolder_(std::move(programFolder)),
      prompts_(prompts),
      launcher_(launcher),
      addresses_(std::move(addresses)) {}

void HelpPart::open(const QString& target, const QString& failure) {
    // Also called from inside the about box and the showcase, so the refusal of an address is reported
    // here rather than left to cross their event loop.
    try {
        launcher_.open(target, [this, failure](bool started) {
            if (!started)
                prompts_.plainMessage(failure);
            Q_EMIT launched(started);
        });
    } catch (const Error& e) {
        prompts_.error(e.message());
    }
}

void HelpPart::Hilfedatei1Click() {
    // A missing page is the browser's failure, as when the shell could not open it.
    open(addresses_.helpPage, kBrowserFailure);
}

void HelpPart::UpdateButtonClick() {
    open(addresses_.productWebPage, kMailClientFailure);
}

void HelpPart::URLLabelClick() {
    open(addresses_.productWebPage, kMailClientFailure);
}

void HelpPart::EmailLabelClick() {
    open(QStringLiteral("mailto:") + addresses_.makerMail, kMailClientFailure);
}

void HelpPart::Info1Click() {
    prompts_.showAbout(
        {[this] { UpdateButtonClick(); }, [this] { URLLabelClick(); }, [this] { EmailLabelClick(); }});
}

bool HelpPart::markerExists(const QString& name) const {
    return fileExists(programFolder_ + name);
}

void HelpPart::writeMarker(const QString& name) const {
    try {
        writeFileAtomic(programFolder_ + name, {});
    } catch (const Error&) {
        // Only a convenience: without the marker the window simply comes again next time.
    }
}

void HelpPart::FormActivate() {
    if (activated_)
        return;
    activated_ = true;
    if (!markerExists(kNoTipMarker) && prompts_.showTip())
        writeMarker(kNoTipMarker);
}

void HelpPart::showShowcaseAtExit() {
    if (markerExists(kNoShowcaseMarker))
        return;
    const bool switchOff =
        prompts_.showShowcase([this](const QString& address) { open(address, kMailClientFailure); });
    if (switchOff)
        writeMarker(kNoShowcaseMarker);
}

}  // namespace zw
