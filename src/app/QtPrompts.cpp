#include "app/QtPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "template/ui/CloseForm.h"

namespace zw {

namespace {
const QString kTemplateFilter = QStringLiteral("Zettelwerk (*.nld)");

// A folder that is not there (no documents folder yet) would leave the dialog in the working folder.
QString existingFolder(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}
}  // namespace

QtPrompts::QtPrompts(QString productTitle) : productTitle_(std::move(productTitle)) {}

void QtPrompts::information(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Informationen"), text, QMessageBox::Ok,
                    parent_);
    box.exec();
}

void QtPrompts::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, productTitle_, text, QMessageBox::Ok, parent_);
    box.exec();
}

CloseAnswer QtPrompts::askSaveChanges() {
    if (!closeForm_)
        return CloseAnswer::Cancel;
    return closeForm_->ask();
}

QString QtPrompts::chooseTemplateToOpen(const QString& startFolder) {
    QFileDialog dialog(parent_, QStringLiteral("Vorlage öffnen"), existingFolder(startFolder),
                       kTemplateFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtPrompts::chooseTemplateSaveName(const QString& suggestedPath, const QString& startFolder) {
    QFileDialog dialog(parent_, QStringLiteral("Vorlage speichern unter"), existingFolder(startFolder),
                       kTemplateFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("nld"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!suggestedPath.isEmpty())
        dialog.selectFile(suggestedPath);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        QString path = dialog.selectedFiles().first();
        // A name with a dot of its own ("Brief.Juli") still becomes a template file.
        if (path.endsWith(QLatin1String(".nld"), Qt::CaseInsensitive))
            return path;
        path += QStringLiteral(".nld");
        if (!QFileInfo::exists(path))
            return path;
        const auto answer =
            QMessageBox::question(parent_, QStringLiteral("Vorlage speichern unter"),
                                  QStringLiteral("%1 existiert bereits.\nWollen Sie die Datei ersetzen?")
                                      .arg(QDir::toNativeSeparators(path)));
        if (answer == QMessageBox::Yes)
            return path;
    }
}

// Preview and single mail.
void QtPrompts::plainMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, productTitle_, text, QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace zw
