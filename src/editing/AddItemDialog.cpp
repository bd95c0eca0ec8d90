#include "editing/AddItemDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "editing/HostSteps.h"
#include "platform/Prompts.h"
#include "store/DosDate.h"
#include "store/LinkList.h"
#include "store/Paths.h"

namespace vorlix {

QString checkDescription(const QString& d) {
  if (d.isEmpty()) return QStringLiteral("Enter description for this URL !");
  static const QString forbidden = QStringLiteral(":/\\*><?\"");
  for (QChar c : d)
    if (forbidden.contains(c))
      return d + QStringLiteral("\r\nThe above description name is invalid.\r\n") +
             QStringLiteral(
                 "Please do not include special characters : , / , \\ , * , \"\" , < , > , ?");
  return {};
}

TFAddItem::TFAddItem(QWidget* parent, Prompts& prompts) : QDialog(parent), prompts_(prompts) {
  setObjectName(QStringLiteral("FAddItem"));
  setWindowTitle(QStringLiteral("Add Url"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setMinimumWidth(448);

  auto* layout = new QVBoxLayout(this);
  auto* descLabel = new QLabel(QStringLiteral("&Description"), this);
  EditDescription = new QLineEdit(this);
  EditDescription->setObjectName(QStringLiteral("EditDescription"));
  descLabel->setBuddy(EditDescription);
  auto* urlLabel = new QLabel(QStringLiteral("&URL"), this);
  EditName = new QLineEdit(this);
  EditName->setObjectName(QStringLiteral("EditName"));
  urlLabel->setBuddy(EditName);
  layout->addWidget(descLabel);
  layout->addWidget(EditDescription);
  layout->addWidget(urlLabel);
  layout->addWidget(EditName);
  layout->addStretch();

  auto* buttons = new QDialogButtonBox(this);
  BOk = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
  BOk->setObjectName(QStringLiteral("BOk"));
  BCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  BCancel->setObjectName(QStringLiteral("BCancel"));
  BOk->setDefault(true);
  layout->addWidget(buttons);
  connect(BOk, &QPushButton::clicked, this, &TFAddItem::BOkClick);
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
  resize(448, 180);
}

void TFAddItem::setTarget(LinkDocument* document, const AnsiString& folderPath) {
  document_ = document;
  folderPath_ = folderPath;
}

bool TFAddItem::runAdd(const QString& url, const QString& description) {
  setWindowTitle(QStringLiteral("Add Url"));
  EditName->setText(url);
  EditDescription->setText(description);
  return exec() == QDialog::Accepted;
}

void TFAddItem::BOkClick() {
  const QString problem = checkDescription(EditDescription->text());
  if (!problem.isEmpty()) {
    prompts_.message(MsgType::Warning, Buttons::Ok, problem);
    return;  // the dialog stays open with its fields
  }
  if (document_) {
    const AnsiString full = folderPath_ + toAnsi(EditDescription->text());
    const AnsiString cut = full.substr(0, kMaxText);
    if (document_->links().indexOf(cut) >= 0) {
      prompts_.message(MsgType::Warning, Buttons::Ok,
                       QStringLiteral("The Description name you have entered already exist !"));
      return;
    }
    DocumentEdit edit(*document_, QStringLiteral("Add ") + QuotedName(FileNameView(cut)));
    edit.links().append(
        LinkRecord::make(cut, toAnsi(EditName->text()), currentDosDateTime(), kKindUrl));
    edit.commit();
  }
  accept();
}

}  // namespace vorlix
