#include "mainwindow/BrowserImport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/XeStatusBar.h"
#include "document/DocumentEdit.h"
#include "document/LinkDocument.h"
#include "interchange/ImportBuilder.h"
#include "interchange/ImportFile.h"
#include "interchange/XbelFile.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowParts.h"
#include "platform/Prompts.h"
#include "store/DosDate.h"
#include "store/LdbFile.h"

namespace vorlix {

BrowserImportCommands::BrowserImportCommands(TFMainXeVorlix& window,
                                             std::function<QString()> defaultBrowser)
    : QObject(&window), w_(window), defaultBrowser_(std::move(defaultBrowser)) {
  chooser_ = [this](const std::vector<BrowserSource>& list, const BrowserSource* preferred) {
    return ChooseSourcesInDialog(&w_, list, preferred);
  };
  browserAction = new QAction(QStringLiteral("Bookmarks from an Installed Browser..."), this);
  browserAction->setObjectName(QStringLiteral("BookmarksfromanInstalledBrowser1"));
  xbelAction = new QAction(QStringLiteral("Bookmarks from an XBEL File..."), this);
  xbelAction->setObjectName(QStringLiteral("BookmarksfromanXBELFile1"));
  part<QMenu>(w_, "Import1")->addAction(browserAction);
  part<QMenu>(w_, "Import1")->addAction(xbelAction);
  connect(browserAction, &QAction::triggered, this, &BrowserImportCommands::importFromBrowsers);
  connect(xbelAction, &QAction::triggered, this, &BrowserImportCommands::importXbelFile);
}

std::vector<BrowserSource> BrowserImportCommands::sources() {
  // Looked for each time: a browser installed or used since shows at once.
  return FindBrowserSources();
}

void BrowserImportCommands::addImports(
    const std::vector<std::pair<QString, QString>>& pathsAndFolders, const QString& stepName) {
  QStringList summaries, reports;
  bool worthABox = false;
  {
    DocumentEdit edit(w_.view().document(), stepName);
    for (const auto& [path, folder] : pathsAndFolders) {
      const BookmarkImport r = ImportFileInto(path, edit.links(), folder, currentDosDateTime());
      if (!r.ok) {
        // Nothing of any source changes: the edit is taken back whole.
        w_.prompts().message(MsgType::Error, Buttons::Ok, r.error);
        return;
      }
      edit.links().reserve(edit.links().size() + r.links.size());
      for (const LinkRecord& rec : r.links) edit.links().append(rec);
      summaries << BookmarkImportSummary(r);
      const QString report = ImportReportText(r);
      if (!report.isEmpty()) reports << report;
      worthABox = worthABox || !report.isEmpty() || !r.report.skipped.isEmpty() || r.knownLinks;
    }
    edit.commit();
  }
  w_.view().showWholeDocument();
  const QString text = summaries.join(QLatin1Char('\n'));
  if (worthABox)
    w_.prompts().message(MsgType::Information, Buttons::Ok,
                         (QStringList{text} + reports).join(QStringLiteral("\n\n")));
  else
    part<TXeStatusBar>(w_, "XeStatusBar")->showMessage(text, 10000);
}

void BrowserImportCommands::importFromBrowsers() {
  std::vector<BrowserSource> found = sources();
  if (found.empty()) {
    w_.prompts().message(MsgType::Information, Buttons::Ok,
                         QStringLiteral("No bookmarks of an installed browser were found."));
    return;
  }
  CountLinks(found);
  const BrowserSource* preferred = DefaultSource(found, defaultBrowser_());
  const std::vector<BrowserSource> chosen = chooser_(found, preferred);
  if (chosen.empty()) return;
  std::vector<std::pair<QString, QString>> imports;
  for (const BrowserSource& s : chosen) imports.emplace_back(s.path, SourceFolderName(s));
  addImports(imports, QStringLiteral("Import Bookmarks"));
}

void BrowserImportCommands::importXbelFile() {
  const QString start = lastXbelFolder_.isEmpty() ? QDir::homePath() : lastXbelFolder_;
  const QString path = w_.desktop().openFileName(&w_, start, QString::fromLatin1(kXbelFileFilter));
  if (path.isEmpty()) return;
  lastXbelFolder_ = QFileInfo(path).absolutePath();
  addImports({{path, QFileInfo(path).completeBaseName()}}, QStringLiteral("Import Bookmarks"));
}

QString BrowserImportCommands::firstStartBrowser() {
  const std::vector<BrowserSource> found = sources();
  const BrowserSource* s = DefaultSource(found, defaultBrowser_());
  return s ? s->browser : QString();
}

bool BrowserImportCommands::importFirstStart(LinkList& list) {
  const std::vector<BrowserSource> found = sources();
  const BrowserSource* s = DefaultSource(found, defaultBrowser_());
  if (!s) return false;
  const BookmarkImport r = ImportFileInto(s->path, LinkList(), QString(), currentDosDateTime());
  if (!r.ok) {
    w_.prompts().message(MsgType::Error, Buttons::Ok, r.error);
    return false;
  }
  list = r.links;
  const QString report = ImportReportText(r);
  if (!report.isEmpty() || !r.report.skipped.isEmpty())
    w_.prompts().message(MsgType::Information, Buttons::Ok,
                         BookmarkImportSummary(r) + QStringLiteral("\n\n") + report);
  return true;
}

std::vector<BrowserSource> ChooseSourcesInDialog(QWidget* parent,
                                                 const std::vector<BrowserSource>& sources,
                                                 const BrowserSource* preferred) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("FBrowserSources"));
  dialog.setWindowTitle(QStringLiteral("Bookmarks from an Installed Browser"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* label = new QLabel(QStringLiteral("Import the bookmarks of:"), &dialog);
  layout->addWidget(label);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("SourceList"));
  list->setAccessibleName(QStringLiteral("Browsers and profiles"));
  label->setBuddy(list);
  for (const BrowserSource& s : sources) {
    auto* item = new QListWidgetItem(
        QStringLiteral("%1 - %2 (%3 links)").arg(s.browser, s.profile).arg(s.links), list);
    item->setToolTip(s.path);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(&s == preferred ? Qt::Checked : Qt::Unchecked);
  }
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  std::vector<BrowserSource> chosen;
  if (dialog.exec() != QDialog::Accepted) return chosen;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked) chosen.push_back(sources[size_t(i)]);
  return chosen;
}

}  // namespace vorlix
