#include "mainwindow/StartUp.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QTimer>
#include <QToolButton>

#include "browser/BrowserActions.h"
#include "browser/DefaultBrowser.h"
#include "components/PanelSplitter.h"
#include "components/SystemTray.h"
#include "components/WidgetPrompts.h"
#include "components/XeListView.h"
#include "components/XeStatusBar.h"
#include "document/LinkDocument.h"
#include "editing/AddItemDialog.h"
#include "editing/LinkExchange.h"
#include "health/KnownUrls.h"
#include "health/widgets/DuplicateHint.h"
#include "health/widgets/HealthCommands.h"
#include "mainwindow/AddedKeys.h"
#include "mainwindow/BrowserImport.h"
#include "mainwindow/BrowserLinks.h"
#include "mainwindow/EditingHost.h"
#include "mainwindow/ListCountPanel.h"
#include "mainwindow/ListRename.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/ShellParts.h"
#include "mainwindow/SyncCommand.h"
#include "mainwindow/SystemDesktop.h"
#include "mainwindow/WindowMemory.h"
#include "mainwindow/WindowOptions.h"
#include "platform/CommandLine.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "platform/Sounds.h"
#include "preview/PreviewDock.h"
#include "preview/PreviewSwitch.h"
#include "preview/TFBrowser.h"
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
  QObject::connect(&instance, &SingleInstance::handOverFieldsReceived, &window,
                   [&window](const QStringList& fields, std::function<void()> done) {
                     window.RestoreFromTray();
                     window.receiveHandOver(fields);
                     done();
                   });
}

namespace {

// The browser part falls back on the window's desktop: the real one in the
// program, a fake one in tests. Browser launches show no message box of
// their own; a link that no program opens says so in the status bar
// instead of doing nothing.
class DesktopOpener : public UrlOpener {
 public:
  DesktopOpener(DesktopServices& desktop, TXeStatusBar& bar) : desktop_(desktop), bar_(bar) {}
  bool openUrl(const QString& url) override {
    if (IsUrlArgument(url) && desktop_.openUrl(url)) return true;
    ShowLinkNotOpened(bar_, url);
    return false;
  }

 private:
  DesktopServices& desktop_;
  TXeStatusBar& bar_;
};

}  // namespace

// The composition root: each feature is a part of its own that answers the
// window's requests and watches the document. Where a part is still to
// come, the window's request falls back to the desktop or does nothing:
//   ShellParts: the Options dialog (settingsRequested), the recent-files
//              list (databaseOpened, recentFileOpened, closing) and the
//              tray icon; built in runVorlix, after the window
//   browser/   the preview pane (previewToggleRequested, closing), the
//              browser launch and the page capture (openLinkRequested)
//   editing/   the Add/Edit dialog (editLinkRequested, the capture)
//   mainwindow/ the added keys (AddedKeys), F2 in the list (ListRename),
//              the status bar's count of the
//              rows listed (ListCountPanel), bookmark files and the links
//              exchanged with other programs, File > Sync (SyncCommand)
ConnectedParts connectParts(TFMainXeVorlix& window, DesktopServices& desktop, bool showPreview) {
  // The preview pane, docked into the bottom panel from the start; its web
  // engine starts with the first page it shows.
  auto* pane = new TFBrowser(window.prompts());
  // Links the pane does not show go to the desktop once the user agreed;
  // what the pane refuses to do is said in the status bar.
  auto paneOpener = std::make_shared<DesktopOpener>(desktop, *window.XeStatusBar);
  pane->setExternalOpener([paneOpener](const QString& url) { return paneOpener->openUrl(url); });
  TXeStatusBar* bar = window.XeStatusBar;
  QObject::connect(pane, &TFBrowser::statusMessage, bar,
                   [bar](const QString& text) { bar->showMessage(text, 10000); });
  auto* dock = new PreviewDock(*pane, *window.Panel10, &window);
  auto* previewSwitch = new PreviewSwitch(
      {window.Urlpreview1, window.ToolButton3, window.Panel10, window.Splitter2, window.ListLinks},
      &window);
  window.Urlpreview1->setChecked(showPreview);
  previewSwitch->ApplyPreviewVisibility();
  QObject::connect(&window, &TFMainXeVorlix::previewToggleRequested, previewSwitch,
                   &PreviewSwitch::FollowToggle);
  QObject::connect(&window, &TFMainXeVorlix::closing, dock, &PreviewDock::shutDown);

  // browser/: new or active browser window, and the page capture. A link
  // opened from the list shows in the pane while the pane is switched on,
  // floating or not.
  auto* browser = new BrowserActions(std::make_unique<DesktopOpener>(desktop, *window.XeStatusBar),
                                     PageCapture(), &window);
  QObject::connect(
      &window, &TFMainXeVorlix::openLinkRequested, browser,
      [browser, pane, previewSwitch](const QString& url, TFMainXeVorlix::LinkOpening how) {
        if (how == TFMainXeVorlix::LinkOpening::FromList && previewSwitch->paneShown())
          pane->showLink(url);
        else if (how == TFMainXeVorlix::LinkOpening::ActiveWindow)
          browser->browseInActiveWindow(url);
        else
          browser->browseInNewWindow(url);
      });
  // editing/: the Add/Edit dialog, which the window opens for Add, fills
  // from the capture and opens in edit mode for Edit of a link row.
  TFAddItem* dialog = window.FAddItem;
  dialog->setCapture([browser] { return browser->captureFields(); });
  QObject::connect(&window, &TFMainXeVorlix::editLinkRequested, dialog,
                   [dialog] { dialog->runEdit(); });
  // health/: the Add Url dialog (and with it a pasted or dropped link)
  // tells when the page is already filed.
  attachDuplicateHint(*dialog->EditName, *new KnownUrls(window.document(), &window),
                      [dialog] { return !dialog->editor().editMode(); });
  // Made after the window's own find handler, which the count must follow.
  window.XeStatusBar->placeOverPanel(
      new ListCountPanel(window.listModel(), *window.EditFind, window.XeStatusBar), 1);
  new AddedKeys(window);
  new ListRename(window);

  // Bookmark files (File > Import > "Favorites Links from Netscape", File >
  // Export), and the links of Copy, Paste and drag and drop with other
  // programs; both live as children of the window.
  new BookmarkFileCommands(window);
  // File > Import from installed browsers and XBEL files, and the first
  // start's offer of the default browser's bookmarks.
  new BrowserImportCommands(window, [] {
    const std::optional<DefaultBrowserEntry> entry = FindDefaultBrowser();
    return entry ? entry->desktopId : QString();
  });
  // File > Sync: the database with its floccus file (sync/).
  new SyncCommand(window);
  auto* exchange = new LinkExchange(*window.editor(), *QGuiApplication::clipboard(),
                                    [&window](const ForeignLink& link, const AnsiString& folder) {
                                      AddOneLinkInDialog(window, link.url, link.title, folder);
                                    });
  exchange->setParent(&window);
  ConnectLinkExchange(window, *exchange);

  // health/: Edit > "Check Links..." and "Find Duplicates...", whose edits
  // are undo steps the views then show.
  auto* health = new HealthCommands(
      window, *window.findChild<QAction*>(QStringLiteral("CheckLinks1")),
      *window.findChild<QAction*>(QStringLiteral("FindDuplicates1")),
      HealthHooks{window.document(), window.prompts(),
                  [&window] { return window.position().currentPath; },
                  [&window](const QString& url) {
                    emit window.openLinkRequested(url, TFMainXeVorlix::LinkOpening::NewWindow);
                  },
                  [&window] {
                    window.RebuildList();
                    window.UpdateCommandState();
                  }});
  QObject::connect(&window, &TFMainXeVorlix::closing, health, &HealthCommands::shutDown);
  return {pane, dock, previewSwitch};
}

void ShowLinkNotOpened(TXeStatusBar& bar, const QString& url) {
  bar.showMessage(QStringLiteral("No program could open ") + url, 10000);
}

AssembledParts assembleParts(TFMainXeVorlix& window, Settings& settings, Prompts& prompts,
                             DesktopServices& desktop, TrayShell& trayShell) {
  AssembledParts parts;
  parts.connected = connectParts(window, desktop);
  // "Show preview panel", at start and on Apply, switches the pane.
  parts.shell = std::make_unique<ShellParts>(
      window, settings, prompts, trayShell,
      [sw = parts.connected.previewSwitch](bool) { sw->ApplyPreviewVisibility(); });
  // Last: the window as the user left it, over the defaults set above.
  new WindowMemory(window, settings.registry(), parts.connected.previewSwitch);
  return parts;
}

int runVorlix(int argc, char** argv) {
  // The preview pane's web view shares its GL contexts with the window's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  initVorlixResources();
  QApplication::setApplicationName(QStringLiteral("Vorlix"));
  QApplication::setApplicationVersion(QStringLiteral(VORLIX_VERSION));
  // Lets the desktop match the windows to the installed entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Vorlix"));
  // The drawing itself, so the tray and the desktop get it sharp at any size.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vorlix.svg")));
  const QStringList params = QApplication::arguments().mid(1);

  Registry registry;
  Settings settings(registry);
  const bool onlyOne = settings.onlyOneAtStart();

  SingleInstance instance;
  const bool first = instance.tryBecomeFirst();
  // A second start hands over to the running window and ends; one that
  // cannot hand over runs on its own, so that its URL is not lost.
  // A database goes over by its absolute path: the running copy has
  // another working folder.
  if (!first && onlyOne && handToRunningInstance(instance, handOverParams(params))) return 0;
  instance.listen();

  // One plain beep for every box type: the desktop has no per-type sounds.
  setSoundPlayer([](MsgType) { QApplication::beep(); });
  WidgetPrompts prompts;
  SystemDesktop desktop;
  LinkDocument document;
  TFMainXeVorlix window(document, settings, prompts, desktop);
  connectInstance(instance, window);
  QtTrayShell trayShell;
  const AssembledParts parts = assembleParts(window, settings, prompts, desktop, trayShell);
  ShellParts& shell = *parts.shell;
  // Closing a window hidden in the tray must still end the program.
  QObject::connect(&window, &TFMainXeVorlix::closing, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  QTimer::singleShot(0, &window, [&window, &shell, params] {
    shell.FormShow();
    window.FormShow(params);
  });
  return app.exec();
}

}  // namespace vorlix
