#include "mainwindow/StartUp.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QToolButton>

#include "browser/PreviewDock.h"
#include "browser/PreviewSwitch.h"
#include "browser/TFBrowser.h"
#include "components/PanelSplitter.h"
#include "components/WidgetPrompts.h"
#include "components/XeListView.h"
#include "document/LinkDocument.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SystemDesktop.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "platform/Sounds.h"
#include "settings/Settings.h"

// Resources live in a static library; this keeps them linked in.
static void initVorlixResources() { Q_INIT_RESOURCE(vorlix); }

namespace vorlix {

void connectInstance(SingleInstance& instance, TFMainXeVorlix& window) {
  QObject::connect(&instance, &SingleInstance::activateRequested, &window,
                   &TFMainXeVorlix::RestoreFromTray);
  // The reply, and with it the sender's end, waits until the Add Url
  // dialog the hand-over opened has closed.
  QObject::connect(&instance, &SingleInstance::handOverReceived, &window,
                   [&window](const QString& text, std::function<void()> done) {
                     window.RestoreFromTray();
                     window.receiveHandOver(text);
                     done();
                   });
}

// The composition root: each feature is a part of its own that answers the
// window's requests and watches the document. Where a part is still to
// come, the window's request falls back to the desktop or does nothing:
//   browser/   launching the user's browser, the page capture (still the
//              desktop's opener), the preview pane (openLinkRequested,
//              previewToggleRequested, closing)
//   settings/  the Options dialog (settingsRequested)
//   components/ the recent-files list (databaseOpened, recentFileOpened,
//              recentFileMissing, closing) and the tray icon
//   editing/   the Add/Edit dialog's edit mode (editLinkRequested)
ConnectedParts connectParts(TFMainXeVorlix& window, DesktopServices& desktop, bool showPreview) {
  // The preview pane, docked into the bottom panel from the start; its web
  // engine starts with the first page it shows.
  auto* pane = new TFBrowser(window.prompts());
  auto* dock = new PreviewDock(*pane, *window.Panel10, &window);
  auto* previewSwitch = new PreviewSwitch(
      {window.Urlpreview1, window.ToolButton3, window.Panel10, window.Splitter2, window.ListLinks},
      &window);
  window.Urlpreview1->setChecked(showPreview);
  previewSwitch->ApplyPreviewVisibility();
  QObject::connect(&window, &TFMainXeVorlix::previewToggleRequested, previewSwitch,
                   &PreviewSwitch::FollowToggle);
  QObject::connect(&window, &TFMainXeVorlix::closing, dock, &PreviewDock::shutDown);

  // A link opened from the list shows in the pane while the pane is
  // switched on, floating or not; everything else goes to the browser.
  QObject::connect(
      &window, &TFMainXeVorlix::openLinkRequested, &window,
      [&desktop, pane, previewSwitch](const QString& url, TFMainXeVorlix::LinkOpening how) {
        if (how == TFMainXeVorlix::LinkOpening::FromList && previewSwitch->paneShown())
          pane->showLink(url);
        else
          desktop.openUrl(url);
      });
  return {pane, dock, previewSwitch};
}

int runVorlix(int argc, char** argv) {
  // The preview pane's web view shares its GL contexts with the window's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  initVorlixResources();
  QApplication::setApplicationName(QStringLiteral("Vorlix"));
  QApplication::setApplicationVersion(QStringLiteral(VORLIX_VERSION));
  const QStringList params = QApplication::arguments().mid(1);

  Registry registry;
  Settings settings(registry);
  const bool onlyOne = settings.onlyOneAtStart();

  SingleInstance instance;
  const bool first = instance.tryBecomeFirst();
  // A second start hands over to the running window and ends; one that
  // cannot hand over runs on its own, so that its URL is not lost.
  if (!first && onlyOne && handToRunningInstance(instance, params)) return 0;
  instance.listen();

  // One plain beep for every box type: the desktop has no per-type sounds.
  setSoundPlayer([](MsgType) { QApplication::beep(); });
  WidgetPrompts prompts;
  SystemDesktop desktop;
  LinkDocument document;
  TFMainXeVorlix window(document, settings, prompts, desktop);
  connectInstance(instance, window);
  connectParts(window, desktop);
  window.show();
  QTimer::singleShot(0, &window, [&window, params] { window.FormShow(params); });
  return app.exec();
}

}  // namespace vorlix
