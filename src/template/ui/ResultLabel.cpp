#include "template/ui/ResultLabel.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QTextDocumentFragment>

namespace zw {

namespace {

constexpr char kCaption[] = "zwResultCaption";

class ResultLabelAccessible : public QAccessibleWidget {
public:
    explicit ResultLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const auto* label = static_cast<const QLabel*>(widget());
        const QString caption = label->property(kCaption).toString();
        if (t == QAccessible::Description)
            return caption;
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString shown = Qt::mightBeRichText(label->text()) && label->textFormat() != Qt::PlainText
                                  ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                  : label->text();
        return shown.trimmed().isEmpty() ? caption : shown;
    }
};

QAccessibleInterface* resultLabelFactory(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (!label || !label->property(kCaption).isValid())
        return nullptr;
    return new ResultLabelAccessible(label);
}

}  // namespace

void showsResult(QLabel* label, const QString& caption) {
    static const bool installed = [] {
        QAccessible::installFactory(resultLabelFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label->setProperty(kCaption, caption);
    // Left empty on purpose: QLabel tells the screen reader of a new text only while it has no name
    // of its own, and the interface above gives the shown text as the name.
    label->setAccessibleName(QString());
    label->setAccessibleDescription(caption);
}

}  // namespace zw
