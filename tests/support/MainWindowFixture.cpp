#include "support/MainWindowFixture.h"

#include "document/DocumentEdit.h"
#include "mainwindow/WindowParts.h"
#include "platform/Registry.h"
#include "store/ListRows.h"

static void initVorlixTestResources() { Q_INIT_RESOURCE(vorlix); }

namespace vorlix::test {

void initResources() { initVorlixTestResources(); }

LinkList makeLinks(const QStringList& lines) {
  LinkList list;
  for (const QString& line : lines) {
    const QStringList f = line.split(QLatin1Char('|'));
    const QString name = f.value(0);
    const QString kind = f.size() > 2 ? f[2]
                                      : (name.endsWith(QLatin1Char('\\')) ? QStringLiteral("Folder")
                                                                          : QStringLiteral("Url"));
    list.append(LinkRecord::make(toAnsi(name), toAnsi(f.value(1)), 0x58E96000u, toAnsi(kind)));
  }
  return list;
}

QString writeDatabase(const QString& path, const QStringList& lines) {
  saveLdbFile(path, makeLinks(lines));
  return path;
}

void markDirty(TFMainXeVorlix& w) { w.view().document().history().clear(false); }
void markClean(TFMainXeVorlix& w) { w.view().document().markSaved(w.view().document().fileName()); }
void appendRecord(TFMainXeVorlix& w, const LinkRecord& r) {
  DocumentEdit edit(w.view().document(), QStringLiteral("Add"));
  edit.links().append(r);
  edit.commit();
}

FolderNode* childNamed(FolderNode* parent, const char* label) {
  for (auto& c : parent->children)
    if (c->label == label) return c.get();
  return nullptr;
}

MainWindowFixture::MainWindowFixture(const QStringList& database) {
  initResources();
  // No browser installed on the machine may answer a link opened here: the
  // default browser is looked up in these folders too.
  qputenv("XDG_CONFIG_DIRS", home.path(QStringLiteral("xdg-config")).toLocal8Bit());
  qputenv("XDG_DATA_DIRS", home.path(QStringLiteral("xdg-data")).toLocal8Bit());
  settings.onlyOneAtStart();  // creates the product key, as process start does
  if (!database.isEmpty()) {
    writeDatabase(dbPath(), database);
    settings.setLastOpenFile(dbPath());
  } else {
    prompts.answers.push_back(Answer::No);  // no first import
  }
  window = std::make_unique<TFMainXeVorlix>(document, settings, prompts, desktop);
  parts = std::make_unique<MainParts>(*window, settings, prompts, desktop, tray);
  window->show();
  parts->FormShow({});
  QCoreApplication::processEvents();
}

MainWindowFixture::~MainWindowFixture() {
  if (window) {
    document.markSaved(document.fileName());  // closing must not ask
    window->close();
  }
}

QStringList MainWindowFixture::captions() const {
  QStringList out;
  for (const ListRow& r : window->view().list().rows()) out << fromAnsi(r.caption);
  return out;
}

}  // namespace vorlix::test
