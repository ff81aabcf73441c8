#include "send/ui/FieldsPart.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>
#include <QWidgetAction>

#include "platform/Error.h"
#include "send/FieldColumns.h"

namespace zw::send {

namespace {

const QStringList kUsualFields = {QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                                  QStringLiteral("Anrede"), QStringLiteral("E-Mail")};
const QString kSample = QStringLiteral("Beispiel");

QString lastListFile(const QString& workFolder) {
    return QDir(workFolder).filePath(QLatin1String(kLastListFile));
}

// The last list's path and the time it was written: a new choice or an edited list reads it again.
QString lastListStamp(const QString& workFolder) {
    QFile file(lastListFile(workFolder));
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? QStringLiteral("?") : QString();
    const QString path = QString::fromUtf8(file.readLine()).trimmed();
    return path + u'\n' + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs);
}

QString recipientText(const Recipient& r) {
    return r.name.isEmpty() ? r.address : QStringLiteral("%1 <%2>").arg(r.name, r.address);
}

}  // namespace

QString cleanFallback(const QString& typed) {
    QString out;
    for (const QChar c : typed)
        if (c != u'{' && c != u'}' && c.unicode() >= 0x20 && c.unicode() != 0x7F)
            out += c;
    return out.trimmed();
}

QString fieldSyntax(const QString& name, const QString& fallback) {
    const QString clean = cleanFallback(fallback);
    return clean.isEmpty() ? u'{' + name + u'}' : u'{' + name + u'|' + clean + u'}';
}

FieldsPart::FieldsPart(QWidget* window, QWidget* fallbackEditor, QString workFolder, QObject* parent)
    : QObject(parent), window_(window), fallbackEditor_(fallbackEditor), workFolder_(std::move(workFolder)) {
    // The buttons take no focus from a click, but the keyboard reaches them with Tab: either way the
    // field goes where the user was writing last.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (takesFields(now))
            lastField_ = now;
    });
    FieldButton = addFieldButton(fallbackEditor);

    PreviewForBox = new QComboBox(window);
    PreviewForBox->setObjectName(QStringLiteral("PreviewForBox"));
    PreviewForBox->setAccessibleName(QStringLiteral("Vorschau für"));
    // A list of hundreds: typed letters find a recipient anywhere in the name or the address.
    PreviewForBox->setEditable(true);
    PreviewForBox->setInsertPolicy(QComboBox::NoInsert);
    PreviewForBox->setMaxVisibleItems(20);
    PreviewForBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    PreviewForBox->setMinimumContentsLength(36);
    PreviewForBox->completer()->setCompletionMode(QCompleter::PopupCompletion);
    PreviewForBox->completer()->setFilterMode(Qt::MatchContains);
    PreviewForBox->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    PreviewForBox->lineEdit()->setAccessibleName(QStringLiteral("Vorschau für"));
    PreviewForBox->lineEdit()->setPlaceholderText(QStringLiteral("Name oder Adresse tippen"));
    PreviewForBox->setToolTip(QStringLiteral(
        "Wen die Vorschau zeigt: das Beispiel oder einen Empfänger der zuletzt gelesenen Liste. Tippen Sie "
        "einen Teil des Namens oder der Adresse, um ihn zu finden."));
    PreviewForLabel = new QLabel(QStringLiteral("Vorschau &für:"), window);
    PreviewForLabel->setBuddy(PreviewForBox);
    PreviewForBox->addItem(kSample);
    ListNoteLabel = new QLabel(window);
    ListNoteLabel->setObjectName(QStringLiteral("ListNoteLabel"));
    ListNoteLabel->setAccessibleName(QStringLiteral("Hinweis zur Empfängerliste"));
    ListNoteLabel->setWordWrap(true);
    ListNoteLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    ListNoteLabel->hide();
    connect(PreviewForBox, &QComboBox::activated, this, &FieldsPart::previewRecipientChosen);
    // A typed text that names nobody is not left standing: the box shows whom the preview shows.
    connect(PreviewForBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (PreviewForBox->currentText() != PreviewForBox->itemText(PreviewForBox->currentIndex()))
            PreviewForBox->setEditText(PreviewForBox->itemText(PreviewForBox->currentIndex()));
    });
}

QToolButton* FieldsPart::addFieldButton(QWidget* defaultTarget) {
    auto* button = new QToolButton(window_);
    button->setObjectName(QStringLiteral("FieldButton"));
    button->setText(QStringLiteral("Feld einfügen"));
    button->setAccessibleName(QStringLiteral("Feld einfügen"));
    button->setToolTip(QStringLiteral(
        "Setzt ein Feld der Empfängerliste in das Textfeld, in dem Sie zuletzt geschrieben haben, etwa "
        "{Vorname}: Jeder Empfänger liest dort seinen eigenen Wert. Mit „Falls leer“ bekommen leere Zellen "
        "einen Ersatz: {Vorname|liebe Mitglieder}."));
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("FieldMenu"));
    button->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu, defaultTarget] { fillMenu(menu, defaultTarget); });
    return button;
}

void FieldsPart::fillMenu(QMenu* menu, QWidget* defaultTarget) {
    refresh();
    menu->clear();
    // The fallback is typed first and goes with the field chosen next; the entries show what is written.
    auto* fallbackRow = new QWidget(menu);
    auto* rowLayout = new QHBoxLayout(fallbackRow);
    rowLayout->setContentsMargins(6, 3, 6, 3);
    auto* fallbackEdit = new QLineEdit(fallbackRow);
    fallbackEdit->setObjectName(QStringLiteral("FallbackEdit"));
    fallbackEdit->setPlaceholderText(QStringLiteral("z. B. liebe Mitglieder"));
    fallbackEdit->setToolTip(QStringLiteral("Was Empfänger lesen, deren Zelle in der Liste leer ist"));
    auto* label = new QLabel(QStringLiteral("Falls &leer:"), fallbackRow);
    label->setBuddy(fallbackEdit);
    rowLayout->addWidget(label);
    rowLayout->addWidget(fallbackEdit, 1);
    auto* fallbackAction = new QWidgetAction(menu);
    fallbackAction->setDefaultWidget(fallbackRow);
    menu->addAction(fallbackAction);
    menu->addSeparator();
    QList<std::pair<QAction*, QString>> entries;
    for (const QString& name : menuFields()) {
        QAction* action = menu->addAction(fieldSyntax(name, {}));
        connect(action, &QAction::triggered, this, [this, name, fallbackEdit, defaultTarget] {
            insertField(name, fallbackEdit->text(), defaultTarget);
        });
        entries.append({action, name});
    }
    connect(fallbackEdit, &QLineEdit::textChanged, menu, [entries](const QString& fallback) {
        for (const auto& [action, name] : entries) action->setText(fieldSyntax(name, fallback));
    });
}

std::optional<FieldValues> FieldsPart::previewValues() const {
    const int index = PreviewForBox->currentIndex() - 1;
    if (index < 0 || index >= list_.recipients.size())
        return std::nullopt;
    return recipientFieldValues(list_.columns, list_.recipients[index]);
}

void FieldsPart::setListNote(const QString& note) {
    ListNoteLabel->setText(note);
    ListNoteLabel->setVisible(!note.isEmpty());
}

void FieldsPart::refresh() {
    const QString stamp = lastListStamp(workFolder_);
    if (stamp == listStamp_)
        return;
    listStamp_ = stamp;
    list_ = RecipientList();
    setListNote({});
    QFile file(lastListFile(workFolder_));
    if (file.open(QIODevice::ReadOnly)) {
        const QString path = QString::fromUtf8(file.readLine()).trimmed();
        try {
            if (!path.isEmpty())
                list_ = readRecipientFile(path);
        } catch (const Error& e) {
            setListNote(QStringLiteral("Die zuletzt gelesene Empfängerliste kann nicht gelesen werden: %1 "
                                       "Die Vorschau zeigt das Beispiel.")
                            .arg(e.message()));
        }
    } else if (file.exists()) {
        setListNote(
            QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2. Die Vorschau zeigt das Beispiel.")
                .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    }
    fillPreviewBox();
}

void FieldsPart::fillPreviewBox() {
    const QString chosen = PreviewForBox->currentIndex() > 0 ? PreviewForBox->currentText() : QString();
    QStringList items{kSample};
    items.reserve(list_.recipients.size() + 1);
    for (const Recipient& r : list_.recipients) items.append(recipientText(r));
    PreviewForBox->clear();
    PreviewForBox->addItems(items);
    PreviewForBox->setCurrentIndex(qMax(0, PreviewForBox->findText(chosen)));
}

QStringList FieldsPart::menuFields() const {
    // A list with a header offers what it has; fields it lacks would only be sent with their fallback.
    QStringList fields;
    QStringList keys;
    for (const QString& column : list_.columns) {
        const QString key = fieldKey(column);
        if (!column.trimmed().isEmpty() && !key.isEmpty() && !keys.contains(key)) {
            keys.append(key);
            fields.append(column.trimmed());
        }
    }
    return fields.isEmpty() ? kUsualFields : fields;
}

bool FieldsPart::takesFields(QWidget* w) const {
    if (!w || !w->isEnabled() || !window_->isAncestorOf(w) || excluded_.contains(w))
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(w))
        // The line of an editable box ("Vorschau für:") chooses, it holds no text of the newsletter.
        return !line->isReadOnly() && !qobject_cast<QComboBox*>(line->parentWidget());
    if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        return !text->isReadOnly();
    if (auto* text = qobject_cast<QTextEdit*>(w))
        return !text->isReadOnly();
    return false;
}

QWidget* FieldsPart::targetFor(QWidget* defaultTarget) const {
    // Only a field the user sees: one on another page would take the field out of sight.
    const auto shown = [this](QWidget* w) { return takesFields(w) && w->isVisibleTo(window_); };
    if (QWidget* focus = QApplication::focusWidget(); shown(focus))
        return focus;
    if (shown(lastField_))
        return lastField_;
    QWidget* fallback = defaultTarget ? defaultTarget : fallbackEditor_;
    if (!fallback || shown(fallback))
        return fallback;
    // The page shows another view of that text in its place (the news text has two): that one.
    for (QWidget* w : fallback->parentWidget()->findChildren<QWidget*>())
        if ((qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) && shown(w))
            return w;
    return nullptr;
}

void FieldsPart::insertField(const QString& name, const QString& fallback, QWidget* defaultTarget) {
    QWidget* target = targetFor(defaultTarget);
    if (!target)
        return;
    const QString field = fieldSyntax(name, fallback);
    if (auto* line = qobject_cast<QLineEdit*>(target))
        line->insert(field);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        plain->insertPlainText(field);
    else
        qobject_cast<QTextEdit*>(target)->insertPlainText(field);
    target->setFocus();
}

}  // namespace zw::send
