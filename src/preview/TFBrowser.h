#pragma once
// TFBrowser: the preview pane. An address bar over a web view that shows the
// links the user opens from the list. The web engine starts only when the
// first page is opened, so the pane costs start-up nothing; its profile is
// off the record, so the pane keeps no cookies, cache or history on disk.
#include <QHash>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QToolButton;
class QVBoxLayout;
class QWebEngineProfile;
class QWebEngineView;

namespace vorlix {

class PreviewPage;
class Prompts;

class TFBrowser : public QWidget {
  Q_OBJECT
 public:
  // The caption before any page is opened.
  static constexpr const char* kBlankCaption = "about:blank";
  static constexpr int kAddressBarHeight = 26;

  explicit TFBrowser(Prompts& prompts, QWidget* parent = nullptr);
  ~TFBrowser() override;

  // The caption: the address last entered or the title of the last page.
  QString caption() const { return windowTitle(); }
  // A link opened from the list: navigate, caption and address text := url,
  // and one more history entry.
  void showLink(const QString& url);
  // Go, or Enter in the address: navigate to the typed address, completed
  // with "http://" when it names no scheme. Not added to the history.
  void BAddressClick();
  // Navigates again to the address text as it stands.
  void reloadAddress();

  // Null until the first page is opened.
  QWebEngineView* webView() const { return WebBrowser; }
  QWebEngineProfile* profile() const { return profile_; }
  // While false (the program runs), the window's close box only asks the
  // dock to take the pane back.
  void setCloseAllowed(bool allowed) { closeAllowed_ = allowed; }

  // Opens a link of a scheme the pane does not show (mailto:, ...) with
  // the desktop's program for it, once the user agreed; false when none
  // could. Without one such links only get their question.
  using ExternalOpener = std::function<bool(const QString& url)>;
  void setExternalOpener(ExternalOpener opener) { openExternal_ = std::move(opener); }

  QWidget* AddressBar = nullptr;
  QLabel* LabelAddress = nullptr;
  QComboBox* ComboAddress = nullptr;
  QToolButton* BAddress = nullptr;
  // Floats the pane in a window of its own, or docks it back.
  QToolButton* BFloat = nullptr;
  // What BFloat offers: docking back while the pane floats, else floating.
  void setFloatingLook(bool floating);

 signals:
  // The floating window's close box was pressed; the pane stays open.
  void closeRequested();
  // A page finished loading (or failed to); the caption shows its title.
  void pageLoaded(bool ok);
  // A line for the status bar: what the pane did not do, and why.
  void statusMessage(const QString& text);
  // BFloat was pressed.
  void floatToggleRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // False when the engine refuses the address at once (reported in a box).
  bool navigate(const QString& address);
  // A link of a scheme the pane does not show, from the list or the page:
  // asks once per scheme, naming the program, and follows that answer.
  void openOutside(const QUrl& url);
  void startEngine();
  void WebBrowserDownloadComplete(bool ok);
  // The page moved on (a link, a redirect): the address shows where it is,
  // unless the user is typing another one.
  void followPage(const QUrl& url);

  Prompts& prompts_;
  QVBoxLayout* layout_ = nullptr;
  QWidget* blank_ = nullptr;  // holds the view's place until the engine starts
  QWebEngineProfile* profile_ = nullptr;
  QWebEngineView* WebBrowser = nullptr;
  PreviewPage* page_ = nullptr;
  bool closeAllowed_ = false;
  ExternalOpener openExternal_;
  QHash<QString, bool> schemeAnswers_;  // scheme: whether the user let it open
};

}  // namespace vorlix
