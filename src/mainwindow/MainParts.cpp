#include "mainwindow/MainParts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include "browser/BrowserActions.h"
#include "browser/DefaultBrowser.h"
#include "components/PanelSplitter.h"
#include "components/XeListView.h"
#include "components/XeStatusBar.h"
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
#include "mainwindow/WindowMemory.h"
#include "mainwindow/WindowParts.h"
#include "platform/Desktop.h"
#include "platform/SingleInstance.h"
#if VORLIX_HAVE_PREVIEW
#include "preview/PreviewDock.h"
#include "preview/PreviewSwitch.h"
#include "preview/TFBrowser.h"
#endif
#include "settings/Settings.h"

namespace vorlix {

namespace {

// Browser launches show no message box of their own; a link that no program
// opens says so in the status bar instead of doing nothing.
void ShowLinkNotOpened(TXeStatusBar& bar, const QString& url) {
  bar.showMessage(QStringLiteral("No program could open ") + url, 10000);
}

}  // namespace

MainParts::MainParts(TFMainXeVorlix& window, Settings& settings, Prompts& prompts,
                     DesktopServices& desktop, TrayShell& trayShell)
    : window_(window), desktop_(desktop) {
  connectPreview();
  connectBrowser();
  connectEditing();
  connectListParts();
  connectExchange();
  connectHealth();
#if VORLIX_HAVE_PREVIEW
  // "Show preview panel", at start and on Apply, switches the pane.
  shell_ =
      std::make_unique<ShellParts>(window, settings, prompts, trayShell,
                                   [sw = previewSwitch_](bool) { sw->ApplyPreviewVisibility(); });
  new WindowMemory(window, settings.registry(), [sw = previewSwitch_] { sw->keepPanelHeight(); });
#else
  shell_ = std::make_unique<ShellParts>(window, settings, prompts, trayShell);
  new WindowMemory(window, settings.registry(), {});
#endif
}

MainParts::~MainParts() = default;

#if VORLIX_HAVE_PREVIEW
void MainParts::connectPreview() {
  TFMainXeVorlix& window = window_;
  // The pane's web engine starts with the first page it shows.
  pane_ = new TFBrowser(window.prompts());
  // Links the pane does not show go to the desktop once the user agreed;
  // what the pane refuses to do is said in the status bar.
  TXeStatusBar* bar = part<TXeStatusBar>(window, "XeStatusBar");
  pane_->setExternalOpener([&desktop = desktop_, bar](const QString& url) {
    if (IsUrlArgument(url) && desktop.openUrl(url)) return true;
    ShowLinkNotOpened(*bar, url);
    return false;
  });
  QObject::connect(pane_, &TFBrowser::statusMessage, bar,
                   [bar](const QString& text) { bar->showMessage(text, 10000); });
  dock_ = new PreviewDock(*pane_, *part<QWidget>(window, "Panel10"), &window);
  previewSwitch_ = new PreviewSwitch(
      {part<QAction>(window, "Urlpreview1"), part<QToolButton>(window, "ToolButton3"),
       part<QWidget>(window, "Panel10"), part<TPanelSplitter>(window, "Splitter2"),
       part<TXeListView>(window, "ListLinks")},
      &window);
  // Shown until the stored preferences (step 7) say otherwise.
  part<QAction>(window, "Urlpreview1")->setChecked(true);
  previewSwitch_->ApplyPreviewVisibility();
  QObject::connect(&window, &TFMainXeVorlix::previewToggleRequested, previewSwitch_,
                   &PreviewSwitch::FollowToggle);
  QObject::connect(&window, &TFMainXeVorlix::closing, dock_, &PreviewDock::shutDown);
}

bool MainParts::showInPane(const QString& url) {
  if (!previewSwitch_->paneShown()) return false;
  pane_->showLink(url);
  return true;
}
#else
// Built without the pane: its switch, button and panel are not offered.
void MainParts::connectPreview() {
  for (const char* name : {"Panel10", "Splitter2"}) part<QWidget>(window_, name)->hide();
  part<QToolButton>(window_, "ToolButton3")->hide();
  part<QAction>(window_, "Urlpreview1")->setVisible(false);
}

bool MainParts::showInPane(const QString&) { return false; }
#endif

void MainParts::connectBrowser() {
  TFMainXeVorlix& window = window_;
  browser_ = new BrowserActions(desktop_, PageCapture(), &window);
  TXeStatusBar* bar = part<TXeStatusBar>(window, "XeStatusBar");
  QObject::connect(browser_, &BrowserActions::linkNotOpened, bar,
                   [bar](const QString& url) { ShowLinkNotOpened(*bar, url); });
  // A link opened from the list shows in the pane while the pane is
  // switched on, floating or not.
  QObject::connect(&window, &TFMainXeVorlix::openLinkRequested, browser_,
                   [this, browser = browser_](const QString& url, TFMainXeVorlix::LinkOpening how) {
                     if (how == TFMainXeVorlix::LinkOpening::FromList && showInPane(url)) return;
                     if (how == TFMainXeVorlix::LinkOpening::ActiveWindow)
                       browser->browseInActiveWindow(url);
                     else
                       browser->browseInNewWindow(url);
                   });
}

void MainParts::connectEditing() {
  TFMainXeVorlix& window = window_;
  // The Add/Edit dialog, which the window opens for Add, fills from the
  // capture and opens in edit mode for Edit of a link row.
  TFAddItem* dialog = part<TFAddItem>(window, "FAddItem");
  dialog->setCapture([browser = browser_] { return browser->captureFields(); });
  QObject::connect(&window, &TFMainXeVorlix::editLinkRequested, dialog,
                   [dialog] { dialog->runEdit(); });
  // The Add Url dialog (and with it a pasted or dropped link) tells when
  // the page is already filed.
  attachDuplicateHint(*dialog->EditName, *new KnownUrls(window.view().document(), &window),
                      [dialog] { return !dialog->editor().editMode(); });
}

void MainParts::connectListParts() {
  TFMainXeVorlix& window = window_;
  part<TXeStatusBar>(window, "XeStatusBar")
      ->placeOverPanel(
          new ListCountPanel(window.view().list(), *part<QLineEdit>(window, "EditFind"),
                             part<TXeStatusBar>(window, "XeStatusBar")),
          1);
  new AddedKeys(window);
  new ListRename(window);
}

void MainParts::connectExchange() {
  TFMainXeVorlix& window = window_;
  // File > Import > "Favorites Links from Netscape", File > Export; both
  // parts live as children of the window.
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
}

void MainParts::connectHealth() {
  TFMainXeVorlix& window = window_;
  // Edit > "Check Links..." and "Find Duplicates...", whose edits are undo
  // steps the views then show.
  auto* health = new HealthCommands(
      window, *window.findChild<QAction*>(QStringLiteral("CheckLinks1")),
      *window.findChild<QAction*>(QStringLiteral("FindDuplicates1")),
      HealthHooks{window.view().document(), window.prompts(),
                  [&window] { return window.view().position().currentPath; },
                  [&window](const QString& url) {
                    emit window.openLinkRequested(url, TFMainXeVorlix::LinkOpening::NewWindow);
                  },
                  [&window] {
                    window.view().rebuildList();
                    window.UpdateCommandState();
                  }});
  QObject::connect(&window, &TFMainXeVorlix::closing, health, &HealthCommands::shutDown);
}

void MainParts::connectInstance(SingleInstance& instance) {
  TFMainXeVorlix& window = window_;
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

void MainParts::FormShow(const QStringList& params) {
  shell_->FormShow();
  window_.FormShow(params);
}

}  // namespace vorlix
