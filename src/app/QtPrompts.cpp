#include "app/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>

#include "app/ProductBranding.h"
#include "dispatch/ui/AboutBox.h"
#include "dispatch/ui/TipForm.h"
#include "dispatch/ui/VentozaForm.h"
#include "dispatch/ui/WerbungForm.h"
#include "editing/ui/LinkForm.h"
#include "editing/ui/PicturePreview.h"
#include "editing/ui/ResizeForm.h"
#include "template/ui/CloseForm.h"
#include "template/ui/PicturePane.h"
#include "template/ui/SettingsView.h"
#include "template/ui/WindowPlacement.h"

namespace zw {

namespace {
const QString kTemplateFilter = QStringLiteral("Zettelwerk (*.nld)");

// A folder that is not there (no documents folder yet) would leave the dialog in the working folder.
// Else the documents folder, as a desktop's own dialogs do.
QString existingFolder(const QString& folder) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
}  // namespace

QtPrompts::QtPrompts(QString productTitle) : productTitle_(std::move(productTitle)) {}

// A message or dialog belongs above whatever window is open: the main window, or the dialog that asked.
QWidget* QtPrompts::front() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : parent_;
}

// Messages, the question before closing, the template files.

void QtPrompts::information(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Informationen"), text, QMessageBox::Ok,
                    front());
    box.exec();
}

void QtPrompts::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, productTitle_, text, QMessageBox::Ok, front());
    box.exec();
}

CloseAnswer QtPrompts::askSaveChanges() {
    if (!closeForm_)
        return CloseAnswer::Cancel;
    return closeForm_->ask();
}

QString QtPrompts::chooseTemplateToOpen(const QString& startFolder) {
    QFileDialog dialog(front(), QStringLiteral("Vorlage öffnen"), existingFolder(startFolder),
                       kTemplateFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);  // the one entry reads "Zettelwerk"
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtPrompts::chooseTemplateSaveName(const QString& suggestedPath, const QString& startFolder) {
    QFileDialog dialog(front(), QStringLiteral("Vorlage speichern unter"), existingFolder(startFolder),
                       kTemplateFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("nld"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
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
            QMessageBox::question(front(), QStringLiteral("Vorlage speichern unter"),
                                  QStringLiteral("%1 existiert bereits.\nWollen Sie die Datei ersetzen?")
                                      .arg(QDir::toNativeSeparators(path)));
        if (answer == QMessageBox::Yes)
            return path;
    }
}

// News-text commands and colours.

Prompts::LinkAnswer QtPrompts::askHyperlink(const QString& address) {
    if (!linkForm_)
        return {false, address};
    return linkForm_->ask(address);
}

std::optional<quint32> QtPrompts::chooseColour(quint32 colour) {
    if (!colourDialog_) {
        colourDialog_ = new QColorDialog(parent_);
        colourDialog_->setObjectName(QStringLiteral("ColorDialog1"));
        // Qt's own dialog speaks German through the translations; a desktop's native one might not.
        colourDialog_->setOption(QColorDialog::DontUseNativeDialog);
    }
    colourDialog_->setCurrentColor(toQColor(colour));
    if (colourDialog_->exec() != QDialog::Accepted)
        return std::nullopt;
    return fromQColor(colourDialog_->selectedColor());
}

// Pictures.

QString QtPrompts::choosePicture() {
    // The folder of the last picture, else the user's pictures folder, else the documents folder.
    if (!QFileInfo(pictureFolder_).isDir())
        pictureFolder_ = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    // The filter matches without regard to case, so a phone's "IMG_1234.JPG" and "IMG_1235.HEIC" are
    // listed too.
    QFileDialog dialog(front(), QStringLiteral("Bild öffnen"), existingFolder(pictureFolder_),
                       QStringLiteral("Bilder (*.jpg *.jpeg *.png *.heic *.heif *.webp)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The picture dialog shows the selected picture beside the list.
    auto* preview = new PicturePane(&dialog);
    preview->setObjectName(QStringLiteral("PicturePreview"));
    preview->setAccessibleName(QStringLiteral("Vorschau"));
    preview->setMinimumSize(220, 160);
    preview->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
        // Never wider than the screen the window is on (a small one would hide the pane and the buttons).
        int width = dialog.sizeHint().width() + preview->minimumWidth();
        if (const QScreen* screen = parent_ ? parent_->screen() : QGuiApplication::primaryScreen())
            width = std::min(width, screen->availableGeometry().width() - 40);
        dialog.resize(width, dialog.sizeHint().height());
    }
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& path) { showChosenPicture(*preview, path); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().first();
    pictureFolder_ = QFileInfo(path).absolutePath();
    return path;
}

bool QtPrompts::askResizeWidth(int& resizeWidth) {
    if (!resizeForm_) {
        resizeForm_ = new TResizeForm(parent_);
        resizeForm_->report = [this](const QString& text) { error(text); };
    }
    resizeForm_->ResizeWidth = resizeWidth;
    if (resizeForm_->exec() != QDialog::Accepted)
        return false;
    resizeWidth = resizeForm_->ResizeWidth;
    return true;
}

// The hand-off to the serial-mail program, help, about, tip and showcase.

namespace {
const QString kTipPicture = QStringLiteral("tip.jpg");
const QString kSerialMailPicture = QStringLiteral("ventoza.jpg");
}  // namespace

void QtPrompts::createDispatchWindows(const ProductBranding& branding, const QString& programFolder) {
    const QString recom = programFolder + QStringLiteral("recom/");
    ventozaForm_ = new TVentozaForm(recom + kSerialMailPicture, parent_);
    noVentozaForm_ = new TNoVentozaForm(recom + kSerialMailPicture, parent_);
    aboutBox_ =
        new TAboutBox({branding.productTitle, branding.versionText, copyrightNotice(branding.makerName),
                       branding.makerWebText, branding.makerMail, recom + branding.aboutPictureFile},
                      front());
    tipForm_ = new TTipForm(recom + kTipPicture, parent_);
    werbungForm_ = new TWerbungForm(recom, parent_);
}

void QtPrompts::plainMessage(const QString& text) {
    // Over whatever is open, the showcase on top of everything included.
    QMessageBox box(QMessageBox::NoIcon, productTitle_, text, QMessageBox::Ok, front());
    box.exec();
}

bool QtPrompts::confirmSerialMailStart(const QString& messageFileName) {
    return ventozaForm_ && ventozaForm_->ask(messageFileName);
}

bool QtPrompts::offerSerialMailProgram() {
    return noVentozaForm_ && noVentozaForm_->ask();
}

void QtPrompts::showAbout(const AboutActions& actions) {
    if (!aboutBox_)
        return;
    // The actions belong to this showing only.
    QObject context;
    QObject::connect(aboutBox_, &TAboutBox::updateClicked, &context, actions.update);
    QObject::connect(aboutBox_, &TAboutBox::urlClicked, &context, actions.web);
    QObject::connect(aboutBox_, &TAboutBox::emailClicked, &context, actions.mail);
    aboutBox_->OKButton->setFocus();
    centreOnScreen(aboutBox_);
    aboutBox_->exec();
}

bool QtPrompts::showTip() {
    return tipForm_ && tipForm_->ask();
}

bool QtPrompts::showShowcase(const std::function<void(const QString& address)>& moreInfo) {
    if (!werbungForm_)
        return false;
    QObject context;
    QObject::connect(werbungForm_, &TWerbungForm::moreInfo, &context, moreInfo);
    return werbungForm_->ask();
}

// Sending.

std::optional<QString> QtPrompts::askPassword(const QString& question) {
    QInputDialog dialog(front());
    dialog.setWindowTitle(QStringLiteral("Passwort"));
    dialog.setLabelText(question);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

bool QtPrompts::offerTestMail(const QString& text) {
    QMessageBox box(QMessageBox::Information, productTitle_, text, QMessageBox::NoButton, front());
    QPushButton* testMail = box.addButton(QStringLiteral("Testmail an mich senden"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Schließen"), QMessageBox::RejectRole);
    box.setDefaultButton(testMail);
    box.exec();
    return box.clickedButton() == testMail;
}

// Sending to a list.

ResumeAnswer QtPrompts::askResumeCampaign(const QString& text) {
    QMessageBox box(QMessageBox::Question, productTitle_, text, QMessageBox::NoButton, front());
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    QPushButton* later = box.addButton(QStringLiteral("&Später"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(later);
    box.exec();
    return box.clickedButton() == yes ? ResumeAnswer::Yes
           : box.clickedButton() == no ? ResumeAnswer::No
                                       : ResumeAnswer::Later;
}

bool QtPrompts::confirmCloseWhileSending(const QString& text) {
    QMessageBox box(QMessageBox::Warning, productTitle_, text, QMessageBox::NoButton, front());
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    // Enter keeps the newsletter going.
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace zw
