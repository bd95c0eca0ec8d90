#pragma once
// Every part of the program around the main window, built and connected in
// one place, for the program (runVorlix) and the window tests alike. Each
// part answers the window's requests or watches the document; the window
// holds none of them. The order is the program's start order, and later
// steps rely on earlier ones:
//   1. the preview pane, docked into the bottom panel, and its switch;
//   2. browser/: launch in a new or the active window and the page capture;
//      a link opened from the list goes into the pane while it is shown;
//   3. editing/: the Add/Edit dialog's capture and edit mode; health/: its
//      hint that a page is already filed;
//   4. the status bar's count of the rows listed (after the window's own
//      find handler, which it must follow), the added keys, F2 in the list;
//   5. bookmark files, the imports from installed browsers and XBEL files
//      (the first start's offer asks them), File > Sync, and the links of
//      Copy, Paste and drag and drop with other programs;
//   6. health/: Check Links and Find Duplicates;
//   7. the shell: the Options dialog, the recent files and the tray icon.
//      The dialog applies the stored preferences as it is made, so the
//      preview switch's apply step must already be in place (1), or a
//      stored "Show preview panel" off would never reach the pane;
//   8. last: the window's size, place, splitters and columns as last left,
//      over the defaults set above.
// A running program's later starts reach the window through connectInstance.
#include <QStringList>
#include <memory>

namespace vorlix {

class BrowserActions;
class DesktopServices;
class PreviewDock;
class PreviewSwitch;
class Prompts;
class Settings;
class ShellParts;
class SingleInstance;
class TFBrowser;
class TFMainXeVorlix;
class TrayShell;

class MainParts {
 public:
  // `desktop` and `trayShell` are the real ones in the program, fakes in
  // tests; all of them must outlive the parts.
  MainParts(TFMainXeVorlix& window, Settings& settings, Prompts& prompts, DesktopServices& desktop,
            TrayShell& trayShell);
  ~MainParts();

  // Lets the window take activations and hand-overs from later starts.
  void connectInstance(SingleInstance& instance);
  // The first showing, once the window is shown: the shell's parts, then
  // the window's own with the command line `params`.
  void FormShow(const QStringList& params);

  ShellParts& shell() { return *shell_; }
#if VORLIX_HAVE_PREVIEW
  TFBrowser& FBrowser() { return *pane_; }
  PreviewSwitch& previewSwitch() { return *previewSwitch_; }
#endif

 private:
  void connectPreview();
  // A link opened from the list goes into the pane while it is shown.
  bool showInPane(const QString& url);
  void connectBrowser();
  void connectEditing();
  void connectListParts();
  void connectExchange();
  void connectHealth();

  TFMainXeVorlix& window_;
  DesktopServices& desktop_;
  // The window owns these.
  TFBrowser* pane_ = nullptr;
  PreviewDock* dock_ = nullptr;
  PreviewSwitch* previewSwitch_ = nullptr;
  BrowserActions* browser_ = nullptr;
  std::unique_ptr<ShellParts> shell_;
};

}  // namespace vorlix
