#pragma once
// The main window: folder tree, link list, find box, menus and tool bars, a
// shell over a FolderView. The view holds what is shown and follows the
// document; the algorithms live in store/ and editing/; this class turns
// user events into calls to them and keeps its controls to itself (parts
// and tests find them by name, see WindowParts.h). Features of their own
// (browser launch, preview, settings, recent files, tray, sync) are parts
// that the composition root (MainParts) connects to the signals below.
#include <QMainWindow>
#include <memory>

#include "platform/Desktop.h"
#include "view/FolderView.h"

class QAction;
class QLineEdit;
class QMenu;
class QMimeData;
class QProgressBar;
class QSplitter;
class QToolBar;
class QToolButton;

namespace vorlix {

class Prompts;
class FileCommands;
class LinkDocument;
class Settings;
class ShortcutDispatcher;
class TFAddItem;
class TFAbout;
class TPanelSplitter;
class TXeListView;
class TXeStaticText;
class TXeStatusBar;
class TreeLinksView;
class MainEditorHost;
struct MainRebuildProgress;

class TFMainXeVorlix : public QMainWindow {
  Q_OBJECT
 public:
  TFMainXeVorlix(LinkDocument& document, Settings& settings, Prompts& prompts,
                 DesktopServices& desktop, QWidget* parent = nullptr);
  ~TFMainXeVorlix() override;

  // --- the open database ---
  FileCommands& files() { return *files_; }

  // --- start-up ---
  // The first showing: opens the last database or offers the import;
  // `params` is the command line: a database to open, or a URL and a
  // description for the Add Url dialog.
  void FormShow(const QStringList& params);
  void openAddUrl(const QString& url, const QString& description);
  void receiveHandOver(const QString& text);
  // The same as fields, each whole: parameter 1 and parameter 2 (or "blank").
  void receiveHandOver(const QStringList& fields);

  // --- the view of the open database ---
  FolderView& view() { return *view_; }
  // Whether `w` (or a control inside it) is the window's focused control.
  // Unlike hasFocus() this holds while the window itself is not active, so a
  // window without a window manager, or behind another, still knows it.
  bool keyboardFocusIn(const QWidget* w) const;
  void UpdateCommandState();
  // A drag of the selected rows starts: fills the drag list.
  QMimeData* ListLinksStartDrag();

  ShortcutDispatcher* dispatcher() const { return dispatcher_.get(); }
  MainEditorHost* editor() const { return editor_.get(); }
  Prompts& prompts() { return prompts_; }
  DesktopServices& desktop() { return desktop_; }

  // Brings the window back from the tray or from minimised, to the front.
  void RestoreFromTray();

  // How a link is to be opened: as the list opens it (double-click, Enter),
  // or in a new or the active browser window.
  enum class LinkOpening { FromList, NewWindow, ActiveWindow };

 signals:
  // The parts answer these; the window itself does nothing more.
  void openLinkRequested(const QString& url, LinkOpening how);
  void previewToggleRequested();
  void settingsRequested();
  // Edit on a link row (the current list item).
  void editLinkRequested();
  // The window is closing for good (after the save question).
  void closing();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildLayout();
  void buildCommands();
  void buildMenus();
  void buildToolBars();
  void buildPopups();
  void connectViews();
  void connectEditing();
  // "Vorlix - " and the file's name, or untitled.ldb.
  void showCaption();
  bool clipboardHasRecords() const;

  // list events the view does not take itself
  void ListLinksEnter();
  // small commands
  void ToolButton2Click();
  void ToggleToolbar();
  void ToggleStatusbar();
  void SelectAllRows();
  void CopyUrlClick();
  void HelpClick();
  void AboutClick();
  void SetViewMode(int mode, QAction* item);
  void SetClassicStyle(bool classic);
  void BAddClick();

  // --- controls, named as the program names them; parts and tests find
  // them by these names (WindowParts.h), screen readers by their captions ---
  QWidget* ControlBar = nullptr;
  QToolBar* ToolBar = nullptr;
  QToolBar* ToolBar2 = nullptr;
  QToolBar* ToolBar3 = nullptr;
  QLineEdit* EditFind = nullptr;
  QWidget* Panel2 = nullptr;
  TXeStaticText* TreeTopText = nullptr;
  QToolButton* ToolButton2 = nullptr;
  TreeLinksView* TreeLinks = nullptr;
  QWidget* PathHeader = nullptr;
  TXeStaticText* TPath = nullptr;
  QToolButton* ToolButton3 = nullptr;
  TXeListView* ListLinks = nullptr;
  QWidget* Panel10 = nullptr;
  QSplitter* Splitter1 = nullptr;
  TPanelSplitter* Splitter2 = nullptr;
  TXeStatusBar* XeStatusBar = nullptr;
  QProgressBar* prgbar = nullptr;

  QAction *FNew = nullptr, *FOpen = nullptr, *FSave = nullptr;
  QAction *EEdit = nullptr, *ECut = nullptr, *ECopy = nullptr, *EPaste = nullptr,
          *ESelect = nullptr, *BFind = nullptr, *ENewFolder = nullptr;
  QMenu *File1 = nullptr, *Edit1 = nullptr, *View1 = nullptr, *Help1 = nullptr;
  QMenu *ReOpen1 = nullptr, *Import1 = nullptr, *PopFile = nullptr;
  QMenu *PopupList = nullptr, *PopupTree = nullptr, *PopupTray = nullptr;
  QAction *New1 = nullptr, *Open1 = nullptr, *Save2 = nullptr, *Saveas1 = nullptr,
          *FavoritesLinksfromInternetExplorer1 = nullptr, *FavoritesLinksfromNetscape1 = nullptr,
          *Export1 = nullptr, *Exit1 = nullptr;
  QAction *Edit3 = nullptr, *Cut1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr,
          *SelectAll1 = nullptr, *Settings2 = nullptr;
  QAction *Statusbar1 = nullptr, *Toolbar1 = nullptr, *ClassicStyle1 = nullptr,
          *ExplorerStyle1 = nullptr, *LargeIcons1 = nullptr, *List1 = nullptr, *Details1 = nullptr,
          *Urlpreview1 = nullptr, *Settings1 = nullptr;
  QAction *Help2 = nullptr, *About1 = nullptr;
  QAction *OpenNew = nullptr, *OpenSame = nullptr, *NewFolder1 = nullptr, *Edit2 = nullptr,
          *Cut2 = nullptr, *Copy2 = nullptr, *Paste2 = nullptr, *CopyURL1 = nullptr,
          *SelectAll2 = nullptr;
  QAction *NewFolder2 = nullptr, *Rename1 = nullptr, *DeleteFolder1 = nullptr;
  QAction *Restore1 = nullptr, *Exit2 = nullptr;
  QToolButton *BNew = nullptr, *BOpen = nullptr, *BSave = nullptr, *BCut = nullptr,
              *BCopy = nullptr, *BPaste = nullptr, *BEdit = nullptr, *BAdd = nullptr,
              *BRefresh = nullptr;
  QToolButton *ToolButton6 = nullptr, *ToolButton9 = nullptr, *ToolButton10 = nullptr,
              *ToolButton12 = nullptr, *ToolButton11 = nullptr, *ToolButton1 = nullptr;

  TFAddItem* FAddItem = nullptr;
  TFAbout* FAbout = nullptr;

  LinkDocument& doc_;
  Settings& settings_;
  Prompts& prompts_;
  DesktopServices& desktop_;
  std::unique_ptr<FolderView> view_;
  std::unique_ptr<FolderView::Controls> controls_;
  std::unique_ptr<MainEditorHost> editor_;
  FileCommands* files_ = nullptr;
  std::unique_ptr<ShortcutDispatcher> dispatcher_;
  std::unique_ptr<MainRebuildProgress> progress_;
};

}  // namespace vorlix
