#include "send/ui/SenderDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/Error.h"
#include "send/PasswordStore.h"
#include "send/Providers.h"
#include "send/RecipientList.h"
#include "send/SmtpTransport.h"
#include "send/ui/ServerAnswer.h"
#include "template/ui/ResultLabel.h"

namespace zw::send {

namespace {

// The choices of the security box, in the order of the Security values.
constexpr const char* kSecurityChoices[] = {"STARTTLS", "SSL/TLS", "keine (nur lokaler Server)"};

bool isLoopback(const QString& server) {
    const QString host = server.trimmed().toLower();
    return host == u"localhost" || host == u"::1" || host == u"[::1]" || host.startsWith(u"127.");
}

QLabel* hint(const char* name, const QString& accessibleName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    showsResult(label, accessibleName);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

QString checkProfile(const SenderProfile& profile) {
    const QString address = profile.address.trimmed();
    const QString server = profile.server.trimmed();
    if (address.isEmpty() && server.isEmpty())
        return {};
    if (address.isEmpty())
        return QStringLiteral("Bitte tragen Sie die E-Mail-Adresse des Absenders ein.");
    if (const QString reason = checkAddress(address); !reason.isEmpty())
        return QStringLiteral("Die Absenderadresse „%1“ geht so nicht: %2").arg(address, reason);
    if (server.isEmpty())
        return QStringLiteral("Bitte tragen Sie den Postausgangsserver (SMTP) ein.");
    if (server.contains(u' ') || server.contains(u"://"))
        return QStringLiteral(
            "Der Server wird ohne Leerzeichen und ohne „smtp://“ eingetragen, etwa "
            "„mail.gmx.net“.");
    if (profile.security == Security::None && !isLoopback(server))
        return QStringLiteral(
                   "Ohne Verschlüsselung sendet Zettelwerk nur an einen Mailserver auf diesem "
                   "Rechner (localhost); für „%1“ wählen Sie bitte STARTTLS oder SSL/TLS.")
            .arg(server);
    if (!profile.caFile.isEmpty() && !QFileInfo(profile.caFile).isReadable())
        return QStringLiteral("Die CA-Datei „%1“ lässt sich nicht lesen.").arg(profile.caFile);
    return {};
}

int usualPort(Security security) {
    switch (security) {
        case Security::StartTls:
            return 587;
        case Security::ImplicitTls:
            return 465;
        case Security::None:
            break;
    }
    return 25;
}

SenderDialog::SenderDialog(const SenderProfile& profile, QString profilePath, PasswordStore& store,
                           QWidget* parent)
    : QDialog(parent), profilePath_(std::move(profilePath)), store_(store), saved_(profile) {
    setObjectName(QStringLiteral("SenderDialog"));
    setWindowTitle(QStringLiteral("Absender und Server"));
    auto* layout = new QVBoxLayout(this);

    auto* sender = new QGroupBox(QStringLiteral("Absender"), this);
    auto* senderForm = new QFormLayout(sender);
    NameEdit = named(new QLineEdit(sender), "NameEdit");
    NameEdit->setPlaceholderText(QStringLiteral("z.B. Förderverein Musterstadt"));
    AddressEdit = named(new QLineEdit(sender), "AddressEdit");
    AddressEdit->setPlaceholderText(QStringLiteral("z.B. verein@gmx.de"));
    ProviderLabel = hint("ProviderLabel", QStringLiteral("Hinweis zum Anbieter"), sender);
    senderForm->addRow(QStringLiteral("&Name:"), NameEdit);
    senderForm->addRow(QStringLiteral("E-Mail-&Adresse:"), AddressEdit);
    senderForm->addRow(ProviderLabel);
    layout->addWidget(sender);

    auto* server = new QGroupBox(QStringLiteral("Postausgangsserver (SMTP)"), this);
    auto* serverForm = new QFormLayout(server);
    ServerEdit = named(new QLineEdit(server), "ServerEdit");
    PortSpinBox = named(new QSpinBox(server), "PortSpinBox");
    PortSpinBox->setRange(1, 65535);
    SecurityComboBox = named(new QComboBox(server), "SecurityComboBox");
    for (const char* choice : kSecurityChoices) SecurityComboBox->addItem(QString::fromUtf8(choice));
    UserEdit = named(new QLineEdit(server), "UserEdit");
    PasswordEdit = named(new QLineEdit(server), "PasswordEdit");
    PasswordEdit->setEchoMode(QLineEdit::Password);
    StoreLabel = hint("StoreLabel", QStringLiteral("Hinweis zum Passwort"), server);
    serverForm->addRow(QStringLiteral("&Server:"), ServerEdit);
    serverForm->addRow(QStringLiteral("P&ort:"), PortSpinBox);
    serverForm->addRow(QStringLiteral("&Verschlüsselung:"), SecurityComboBox);
    serverForm->addRow(QStringLiteral("&Benutzername:"), UserEdit);
    serverForm->addRow(QStringLiteral("Pass&wort:"), PasswordEdit);
    serverForm->addRow(StoreLabel);
    layout->addWidget(server);

    auto* sending = new QGroupBox(QStringLiteral("Versand"), this);
    auto* sendingForm = new QFormLayout(sending);
    RateSpinBox = named(new QSpinBox(sending), "RateSpinBox");
    RateSpinBox->setRange(0, 100000);
    RateSpinBox->setSpecialValueText(QStringLiteral("ohne Grenze"));
    HourSpinBox = named(new QSpinBox(sending), "HourSpinBox");
    DaySpinBox = named(new QSpinBox(sending), "DaySpinBox");
    for (QSpinBox* box : {HourSpinBox, DaySpinBox}) {
        box->setRange(0, 10000000);
        box->setSpecialValueText(QStringLiteral("ohne Grenze"));
    }
    CaFileEdit = named(new QLineEdit(sending), "CaFileEdit");
    CaFileEdit->setPlaceholderText(QStringLiteral("keine"));
    CaFileEdit->setToolTip(
        QStringLiteral("Nur für einen Mailserver mit eigener Zertifizierungsstelle: deren "
                       "Zertifikat als PEM-Datei."));
    CaFileButton = named(new QPushButton(QStringLiteral("Durc&hsuchen…"), sending), "CaFileButton");
    CaFileButton->setAccessibleName(QStringLiteral("CA-Datei suchen"));
    auto* caRow = new QHBoxLayout;
    caRow->addWidget(CaFileEdit, 1);
    caRow->addWidget(CaFileButton);
    OneClickCheckBox = named(
        new QCheckBox(QStringLiteral("Die Abmeldeseite nimmt &Ein-Klick-Abmeldungen an (RFC 8058)"), sending),
        "OneClickCheckBox");
    sendingForm->addRow(QStringLiteral("Nachrichten pro M&inute:"), RateSpinBox);
    sendingForm->addRow(QStringLiteral("Nachrichten pro S&tunde:"), HourSpinBox);
    sendingForm->addRow(QStringLiteral("Nachrichten pro &Tag:"), DaySpinBox);
    sendingForm->addRow(QStringLiteral("&CA-Datei:"), caRow);
    qobject_cast<QLabel*>(sendingForm->labelForField(caRow))->setBuddy(CaFileEdit);
    sendingForm->addRow(OneClickCheckBox);
    layout->addWidget(sending);

    ResultLabel = hint("ResultLabel", QStringLiteral("Ergebnis"), this);
    layout->addWidget(ResultLabel);
    layout->addStretch();

    VerifyButton = named(new QPushButton(QStringLiteral("Verbindung &prüfen"), this), "VerifyButton");
    Buttons = named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "Buttons");
    Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(VerifyButton);
    buttonRow->addWidget(Buttons, 1);
    layout->addLayout(buttonRow);

    QWidget* const order[] = {NameEdit,
                              AddressEdit,
                              ServerEdit,
                              PortSpinBox,
                              SecurityComboBox,
                              UserEdit,
                              PasswordEdit,
                              RateSpinBox,
                              HourSpinBox,
                              DaySpinBox,
                              CaFileEdit,
                              CaFileButton,
                              OneClickCheckBox,
                              VerifyButton,
                              Buttons->button(QDialogButtonBox::Ok),
                              Buttons->button(QDialogButtonBox::Cancel)};
    for (size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);

    NameEdit->setText(profile.name);
    AddressEdit->setText(profile.address);
    ServerEdit->setText(profile.server);
    PortSpinBox->setValue(profile.port);
    SecurityComboBox->setCurrentIndex(int(profile.security));
    UserEdit->setText(profile.user);
    RateSpinBox->setValue(profile.messagesPerMinute);
    HourSpinBox->setValue(profile.messagesPerHour);
    DaySpinBox->setValue(profile.messagesPerDay);
    CaFileEdit->setText(profile.caFile);
    OneClickCheckBox->setChecked(profile.oneClickUnsubscribe);
    lastAddress_ = profile.address;
    if (const auto provider = providerForAddress(profile.address))
        lastProvider_ = provider->name;
    showProvider(profile.address);

    storeAvailable_ = store_.available();
    if (!profile.user.isEmpty())
        oldAccount_ = passwordAccount(profile.user, profile.server);
    if (storeAvailable_ && !oldAccount_.isEmpty())
        PasswordEdit->setText(store_.read(oldAccount_).value_or(QString()));
    StoreLabel->setText(
        storeAvailable_
            ? QStringLiteral("Das Passwort wird im Schlüsselbund Ihres Desktops gespeichert, "
                             "nicht in einer Datei von Zettelwerk.")
            : QStringLiteral("Auf diesem Desktop ist kein Schlüsselbund verfügbar: Das Passwort "
                             "wird nicht gespeichert. Zettelwerk behält es, bis es beendet wird, und fragt "
                             "danach beim Versand wieder."));

    keepTextsWhole();

    connect(AddressEdit, &QLineEdit::textEdited, this, &SenderDialog::addressEdited);
    // The hints follow every change of the address or the server, however it came (typed, pasted,
    // undone, set by a provider's settings), so that none stays from an earlier address.
    for (QLineEdit* edit : {AddressEdit, ServerEdit})
        connect(edit, &QLineEdit::textChanged, this, [this] { showProvider(AddressEdit->text().trimmed()); });
    connect(SecurityComboBox, &QComboBox::activated, this, &SenderDialog::securityChosen);
    connect(CaFileButton, &QPushButton::clicked, this, &SenderDialog::chooseCaFile);
    connect(VerifyButton, &QPushButton::clicked, this, &SenderDialog::verifyConnection);
    connect(Buttons, &QDialogButtonBox::accepted, this, &SenderDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &SenderDialog::reject);
}

SenderDialog::~SenderDialog() = default;

SenderProfile SenderDialog::profile() const {
    SenderProfile profile;
    profile.name = NameEdit->text().trimmed();
    profile.address = AddressEdit->text().trimmed();
    profile.server = ServerEdit->text().trimmed();
    profile.port = PortSpinBox->value();
    profile.security = Security(SecurityComboBox->currentIndex());
    profile.user = UserEdit->text().trimmed();
    profile.messagesPerMinute = RateSpinBox->value();
    profile.messagesPerHour = HourSpinBox->value();
    profile.messagesPerDay = DaySpinBox->value();
    profile.caFile = CaFileEdit->text().trimmed();
    profile.oneClickUnsubscribe = OneClickCheckBox->isChecked();
    return profile;
}

// The password goes first: when the store refuses it, nothing is saved and the dialog stays open.
void SenderDialog::accept() {
    const SenderProfile profile = this->profile();
    if (const QString reason = checkProfile(profile); !reason.isEmpty()) {
        showResult(reason);
        return;
    }
    try {
        const QString account =
            profile.user.isEmpty() ? QString() : passwordAccount(profile.user, profile.server);
        if (storeAvailable_) {
            if (!oldAccount_.isEmpty() && oldAccount_ != account)
                store_.remove(oldAccount_);
            if (!account.isEmpty() && PasswordEdit->text().isEmpty())
                store_.remove(account);
            else if (!account.isEmpty())
                store_.write(account, PasswordEdit->text());
        }
        saveProfile(profile, profilePath_);
    } catch (const Error& e) {
        showResult(e.message());
        return;
    }
    saved_ = profile;
    QDialog::accept();
}

void SenderDialog::verifyConnection() {
    if (verifying_)
        return;
    const SenderProfile profile = this->profile();
    QString reason = checkProfile(profile);
    if (profile.server.isEmpty())
        reason = QStringLiteral("Bitte tragen Sie den Postausgangsserver (SMTP) ein.");
    if (!reason.isEmpty()) {
        showResult(reason);
        return;
    }
    verifying_ = true;
    VerifyButton->setEnabled(false);
    showResult(QStringLiteral("Die Verbindung zu %1 wird geprüft …").arg(profile.server));
    askServer(
        this,
        [profile, password = PasswordEdit->text()] {
            SmtpTransport transport(profile, password);
            return transport.verify();
        },
        [this, profile](const SendResult& result) {
            verifying_ = false;
            VerifyButton->setEnabled(true);
            showResult(verifyReport(profile, result));
            Q_EMIT verified();
        });
}

// A known provider's settings come in when the address moves to another provider's domain, not at
// every key: what the user changed afterwards stays, also while the address is typed anew. The user
// name follows the address while the two are equal.
void SenderDialog::addressEdited(const QString& address) {
    const QString typed = address.trimmed();
    if (UserEdit->text().isEmpty() || UserEdit->text() == lastAddress_)
        UserEdit->setText(typed);
    lastAddress_ = typed;
    if (const auto provider = providerForAddress(typed); provider && provider->name != lastProvider_) {
        ServerEdit->setText(provider->server);
        PortSpinBox->setValue(provider->port);
        SecurityComboBox->setCurrentIndex(int(provider->security));
        HourSpinBox->setValue(provider->messagesPerHour);
        DaySpinBox->setValue(provider->messagesPerDay);
        lastProvider_ = provider->name;
    }
}

// The port follows the security while it is the usual one of the security before.
void SenderDialog::securityChosen(int index) {
    for (const Security security : {Security::StartTls, Security::ImplicitTls, Security::None})
        if (PortSpinBox->value() == usualPort(security))
            PortSpinBox->setValue(usualPort(Security(index)));
}

void SenderDialog::chooseCaFile() {
    const QString start =
        CaFileEdit->text().isEmpty() ? QString() : QFileInfo(CaFileEdit->text()).absolutePath();
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("CA-Zertifikat wählen"), start,
                                     QStringLiteral("Zertifikate (*.pem *.crt *.cer);;Alle Dateien (*)"),
                                     nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        CaFileEdit->setText(path);
}

// What the table knows of the address's provider and of the server: the provider's hints and
// limits, a sending service's user name and where its credentials are made, and the warning when the
// address and the server belong to different providers. Follows every edit of either field.
void SenderDialog::showProvider(const QString& address) {
    QStringList lines;
    if (const auto provider = providerForAddress(address)) {
        lines << QStringLiteral(
                     "Anbieter erkannt: %1. Server, Port und Verschlüsselung sind vorgeschlagen; "
                     "Sie können sie ändern.")
                     .arg(provider->name)
              << provider->note << provider->limitNote;
    }
    if (const auto service = providerForServer(ServerEdit->text(), address); service && service->relay)
        lines << QStringLiteral("Versanddienst %1: Benutzername ist %2. Die Zugangsdaten erstellen Sie %3.")
                     .arg(service->name, service->userForm, service->credentials)
              << service->limitNote;
    lines << senderDomainWarning(profile());
    lines.removeAll(QString());
    ProviderLabel->setText(lines.join(u'\n'));
    ProviderLabel->setVisible(!lines.isEmpty());
    keepTextsWhole();
}

void SenderDialog::showResult(const QString& text) {
    ResultLabel->setText(text);
    keepTextsWhole();
}

// A wrapped text asks for its height at the width it would like; narrower, it would need more lines
// than it gets. The dialog is never made smaller than what its texts of the moment want.
void SenderDialog::keepTextsWhole() {
    layout()->invalidate();
    setMinimumSize(layout()->totalSizeHint());
}

}  // namespace zw::send
