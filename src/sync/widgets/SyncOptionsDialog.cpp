#include "sync/widgets/SyncOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "platform/Desktop.h"
#include "platform/Prompts.h"
#include "sync/PasswordStore.h"
#include "sync/TargetAddress.h"

namespace vorlix {

namespace {

using Kind = sync::TargetAddress::Kind;

template <class W>
W* named(W* widget, const char* objectName, const QString& caption) {
  widget->setObjectName(QString::fromLatin1(objectName));
  widget->setAccessibleName(caption);
  return widget;
}

QLineEdit* secretEdit(const char* objectName, const QString& caption) {
  auto* edit = named(new QLineEdit, objectName, caption);
  edit->setEchoMode(QLineEdit::Password);
  return edit;
}

}  // namespace

SyncOptionsDialog::SyncOptionsDialog(QString databasePath, sync::PasswordStore& passwords,
                                     DesktopServices& desktop, Prompts& prompts, QWidget* parent)
    : QDialog(parent),
      path_(std::move(databasePath)),
      passwords_(passwords),
      desktop_(desktop),
      prompts_(prompts) {
  setObjectName(QStringLiteral("SyncOptionsDialog"));
  setWindowTitle(QStringLiteral("Sync Settings"));
  kind_ = named(new QComboBox, "SyncKind", QStringLiteral("Sync with"));
  kind_->addItem(QStringLiteral("WebDAV server"), int(Kind::WebDav));
  kind_->addItem(QStringLiteral("Git repository"), int(Kind::Git));
  kind_->addItem(QStringLiteral("Folder"), int(Kind::Folder));
  location_ = named(new QLineEdit, "SyncLocation", QStringLiteral("Address or folder"));
  browse_ = named(new QPushButton(QStringLiteral("Browse...")), "SyncBrowse",
                  QStringLiteral("Browse..."));
  branch_ = named(new QLineEdit, "SyncBranch", QStringLiteral("Branch"));
  file_ = named(new QLineEdit, "SyncFile", QStringLiteral("File name"));
  user_ = named(new QLineEdit, "SyncUser", QStringLiteral("User name"));
  password_ = secretEdit("SyncPassword", QStringLiteral("Password"));
  encrypt_ = named(new QCheckBox(QStringLiteral("Encrypt the file with a passphrase")),
                   "SyncEncrypt", QStringLiteral("Encrypt the file with a passphrase"));
  passphrase_ = secretEdit("SyncPassphrase", QStringLiteral("Passphrase"));
  onSave_ = named(new QCheckBox(QStringLiteral("Sync when the database is saved")), "SyncOnSave",
                  QStringLiteral("Sync when the database is saved"));
  every_ =
      named(new QSpinBox, "SyncEveryMinutes", QStringLiteral("Sync every N minutes while open"));
  every_->setRange(0, 24 * 60);
  every_->setSpecialValueText(QStringLiteral("Never"));
  every_->setSuffix(QStringLiteral(" min"));
  share_ = named(new QSpinBox, "SyncDeleteShare",
                 QStringLiteral("Ask before a sync deletes more than this share of links"));
  share_->setRange(0, 100);
  share_->setSuffix(QStringLiteral(" %"));

  auto* where = new QHBoxLayout;
  where->addWidget(location_, 1);
  where->addWidget(browse_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Sync with:"), kind_);
  form->addRow(QStringLiteral("Address or folder:"), where);
  form->addRow(QStringLiteral("Branch:"), branch_);
  form->addRow(QStringLiteral("File name:"), file_);
  form->addRow(QStringLiteral("User name:"), user_);
  form->addRow(QStringLiteral("Password:"), password_);
  form->addRow(encrypt_);
  form->addRow(QStringLiteral("Passphrase:"), passphrase_);
  form->addRow(onSave_);
  form->addRow(QStringLiteral("Sync every:"), every_);
  form->addRow(QStringLiteral("Ask before deleting more than:"), share_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  for (QAbstractButton* b : buttons->buttons()) b->setAccessibleName(b->text().remove('&'));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &SyncOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(kind_, &QComboBox::currentIndexChanged, this, &SyncOptionsDialog::showKind);
  connect(encrypt_, &QCheckBox::toggled, passphrase_, &QWidget::setEnabled);
  connect(browse_, &QPushButton::clicked, this, &SyncOptionsDialog::browse);
  load();
}

void SyncOptionsDialog::showKind() {
  const auto kind = Kind(kind_->currentData().toInt());
  browse_->setEnabled(kind == Kind::Folder);
  branch_->setEnabled(kind == Kind::Git);
  user_->setEnabled(kind != Kind::Folder);
  password_->setEnabled(kind != Kind::Folder);
  location_->setPlaceholderText(kind == Kind::WebDav ? QStringLiteral("https://dav.example/dir/")
                                : kind == Kind::Git
                                    ? QStringLiteral("https://git.example/me/bookmarks.git")
                                    : QString());
}

void SyncOptionsDialog::browse() {
  const QString folder = desktop_.chooseFolder(
      this, QStringLiteral("Folder to sync this database with:"), location_->text());
  if (!folder.isEmpty()) location_->setText(folder);
}

void SyncOptionsDialog::load() {
  const sync::SyncSettings s = sync::loadSyncSettings(path_);
  QString ignored;
  sync::TargetAddress address;
  if (const auto parsed = sync::parseTargetAddress(s.target, ignored)) address = *parsed;
  kind_->setCurrentIndex(kind_->findData(int(address.kind)));
  location_->setText(address.location);
  branch_->setText(address.kind == Kind::Git ? address.branch : sync::kDefaultBranch);
  file_->setText(address.file);
  user_->setText(s.user);
  password_->clear();
  passphrase_->clear();
  if (!s.target.isEmpty()) {
    if (!s.user.isEmpty())
      password_->setText(
          passwords_.read(sync::passwordKey(s.target, s.user), ignored).value_or(QString()));
    if (s.encrypt)
      passphrase_->setText(
          passwords_.read(sync::passphraseKey(s.target), ignored).value_or(QString()));
  }
  encrypt_->setChecked(s.encrypt);
  passphrase_->setEnabled(s.encrypt);
  onSave_->setChecked(s.onSave);
  every_->setValue(s.everyMinutes);
  share_->setValue(s.deleteSharePercent);
  showKind();
}

bool SyncOptionsDialog::save() {
  sync::SyncSettings s;
  if (!location_->text().trimmed().isEmpty()) {
    sync::TargetAddress address;
    address.kind = Kind(kind_->currentData().toInt());
    address.location = location_->text().trimmed();
    address.branch = address.kind == Kind::Git ? branch_->text().trimmed() : QString();
    address.file =
        file_->text().trimmed().isEmpty() ? sync::kDefaultFileName : file_->text().trimmed();
    if (address.kind != Kind::Git &&
        !address.file.endsWith(QLatin1String(".xbel"), Qt::CaseInsensitive)) {
      prompts_.inform(MsgType::Error,
                      QStringLiteral("The file name must end in .xbel: %1").arg(address.file));
      return false;
    }
    QString error;
    const auto checked = sync::parseTargetAddress(sync::composeTargetAddress(address), error);
    if (!checked || checked->kind != address.kind) {
      prompts_.inform(MsgType::Error, checked ? QStringLiteral("%1 is not a %2 address.")
                                                    .arg(address.location, kind_->currentText())
                                              : error);
      return false;
    }
    s.target = sync::composeTargetAddress(*checked);
  }
  s.user = user_->isEnabled() ? user_->text().trimmed() : QString();
  s.encrypt = encrypt_->isChecked();
  s.onSave = onSave_->isChecked();
  s.everyMinutes = every_->value();
  s.deleteSharePercent = share_->value();
  if (!sync::saveSyncSettings(path_, s)) {
    prompts_.inform(MsgType::Error, QStringLiteral("The sync settings could not be saved."));
    return false;
  }
  // Secrets go to the secret store only; without one, syncs take them
  // from the environment (VORLIX_SYNC_PASSWORD, VORLIX_SYNC_PASSPHRASE).
  QStringList unkept;
  QString why;
  if (!s.target.isEmpty() && !s.user.isEmpty() && !password_->text().isEmpty() &&
      !passwords_.write(sync::passwordKey(s.target, s.user), password_->text(), why))
    unkept << QStringLiteral("password");
  if (!s.target.isEmpty() && s.encrypt && !passphrase_->text().isEmpty() &&
      !passwords_.write(sync::passphraseKey(s.target), passphrase_->text(), why))
    unkept << QStringLiteral("passphrase");
  if (!unkept.isEmpty())
    prompts_.inform(MsgType::Warning,
                    QStringLiteral("The %1 could not be kept in the desktop's secret store (%2). "
                                   "Syncs take it from VORLIX_SYNC_PASSWORD or "
                                   "VORLIX_SYNC_PASSPHRASE instead.")
                        .arg(unkept.join(QStringLiteral(" and ")), why));
  emit saved(s);
  return true;
}

void SyncOptionsDialog::accept() {
  if (save()) QDialog::accept();
}

}  // namespace vorlix
