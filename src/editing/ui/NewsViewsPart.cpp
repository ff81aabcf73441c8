#include "editing/ui/NewsViewsPart.h"

#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolButton>

#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/TextCommandsPart.h"

namespace zw {

namespace {

// Present when the user chose the source view; a new user starts with the formatted one.
constexpr const char* kHtmlViewMarker = "HTMLAnsicht.ini";
const QString kHtmlOnlyNote =
    QStringLiteral("Dieser Text enthält HTML, das nur in der HTML-Ansicht bearbeitet werden kann.");

}  // namespace

NewsViewsPart::NewsViewsPart(QPlainTextEdit* memo, FormattedNewsEdit* formatted, QStackedWidget* stack,
                             const QString& programFolder, QWidget* parent)
    : QObject(parent),
      memo_(memo),
      formatted_(formatted),
      stack_(stack),
      choiceFile_(programFolder + QLatin1String(kHtmlViewMarker)) {
    auto* group = new QButtonGroup(this);
    const std::pair<QToolButton**, QString> buttons[] = {
        {&FormattedButton, QStringLiteral("Formatiert")},
        {&HtmlButton, QStringLiteral("HTML")},
    };
    for (const auto& [button, caption] : buttons) {
        *button = new QToolButton(parent);
        (*button)->setText(caption);
        (*button)->setObjectName(caption + QLatin1String("Button"));
        (*button)->setAccessibleName(caption == u"HTML" ? QStringLiteral("HTML-Ansicht")
                                                        : QStringLiteral("Formatierte Ansicht"));
        (*button)->setCheckable(true);
        (*button)->setAutoRaise(true);
        (*button)->setFocusPolicy(Qt::TabFocus);
        group->addButton(*button);
    }
    FormattedButton->setToolTip(QStringLiteral("Den Text formatiert bearbeiten, wie er in der Mail erscheint"));
    HtmlButton->setToolTip(QStringLiteral("Den Text mit seinen HTML-Tags bearbeiten"));
    HtmlOnlyNote = new QLabel(kHtmlOnlyNote, parent);
    HtmlOnlyNote->setObjectName(QStringLiteral("HtmlOnlyNote"));
    HtmlOnlyNote->setWordWrap(true);
    HtmlOnlyNote->setVisible(false);

    preferFormatted_ = !QFile::exists(choiceFile_);
    connect(FormattedButton, &QToolButton::clicked, this, [this] { chooseFormatted(true); });
    connect(HtmlButton, &QToolButton::clicked, this, [this] { chooseFormatted(false); });
    // The document's own signal: a new block's editor is emptied with the widget's signals blocked.
    connect(memo_->document(), &QTextDocument::contentsChanged, this, &NewsViewsPart::sourceChanged);
    connect(formatted_->document(), &QTextDocument::contentsChanged, this, &NewsViewsPart::formattedChanged);
    showText();
}

bool NewsViewsPart::formattedShown() const {
    return stack_->currentWidget() == formatted_;
}

void NewsViewsPart::chooseFormatted(bool formatted) {
    if (formatted != preferFormatted_) {
        preferFormatted_ = formatted;
        if (formatted) {
            QFile::remove(choiceFile_);
        } else {
            QFile marker(choiceFile_);
            (void)marker.open(QIODevice::WriteOnly);  // the choice is a comfort; not keeping it loses nothing
        }
    }
    showText();
    (formattedShown() ? static_cast<QWidget*>(formatted_) : memo_)->setFocus();
}

void NewsViewsPart::showPage(bool formatted) {
    const bool focused = stack_->currentWidget() && stack_->currentWidget()->hasFocus();
    stack_->setCurrentWidget(formatted ? static_cast<QWidget*>(formatted_) : memo_);
    FormattedButton->setChecked(formatted);
    HtmlButton->setChecked(!formatted);
    HtmlOnlyNote->setVisible(preferFormatted_ && !formatted);
    if (focused)
        stack_->currentWidget()->setFocus();
    Q_EMIT viewChanged();
}

void NewsViewsPart::showText() {
    if (!preferFormatted_) {
        showPage(false);
        return;
    }
    FormattedLook look = formatted_->look();
    if (linkColour)
        look.linkColour = linkColour();
    formatted_->setLook(look);
    loading_ = true;
    const bool faithful = formatted_->load(editorText(memo_));
    loading_ = false;
    showPage(faithful);
}

void NewsViewsPart::sourceChanged() {
    if (writingBack_)
        return;
    // Typing in the source view (a text only it can hold) does not switch the view under the fingers;
    // a block loaded, emptied or restored is shown in the view that can hold it.
    if (!preferFormatted_ || (stack_->currentWidget() == memo_ && memo_->hasFocus()))
        return;
    showText();
}

void NewsViewsPart::formattedChanged() {
    if (loading_ || !formattedShown())
        return;
    const QString markup = formatted_->markup();
    // Only a real change is written back: a text nobody changed stays as it was loaded, byte for byte.
    if (markup == storedLine(editorText(memo_)))
        return;
    writingBack_ = true;
    replaceEditorText(memo_, markup);
    writingBack_ = false;
}

}  // namespace zw
