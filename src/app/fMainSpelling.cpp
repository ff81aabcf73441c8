// German spell checking in the fields that take prose, connected to the window.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "app/fMain.h"
#include "editing/SpellChecker.h"
#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/SpellCheck.h"

namespace zw {

void TMainForm::connectSpelling() {
    spelling_ = std::make_unique<SpellChecker>(session_.folders.program + QLatin1String(SpellChecker::kUserWordsFile));
    if (!spelling_->available()) {
        StatusBar1->showMessage(QStringLiteral("Keine Rechtschreibprüfung: Das deutsche Wörterbuch für Hunspell "
                                               "(Paket hunspell-de-de) ist nicht installiert."));
        return;
    }
    attachSpellChecking(Memo1, *spelling_, true);
    attachSpellChecking(FormattedMemo, *spelling_);
    for (QLineEdit* field : {HeadLineEdit, BetreffEdit, Titel1Edit, Titel2Edit, VorschautextEdit, ImpressumEdit})
        if (field)
            attachSpellChecking(field, *spelling_);
}

}  // namespace zw
