#pragma once
// The preview pane's page: links the pane does not show are handed out for
// a question instead of going to another program at once, and a page's
// script dialogs go through Prompts, one per page the user opened.
#include <QWebEnginePage>

namespace vorlix {

class Prompts;

class PreviewPage : public QWebEnginePage {
  Q_OBJECT
 public:
  PreviewPage(QWebEngineProfile* profile, Prompts& prompts, QObject* parent = nullptr);

  // The user opened a page: it may show one script dialog.
  void allowOneDialog() { dialogShown_ = false; }

 signals:
  // A link inside the page whose scheme the pane does not show; the page
  // stays where it is.
  void externalLinkRequested(const QUrl& url);
  // A script dialog after the first was suppressed.
  void dialogSuppressed();

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  void javaScriptAlert(const QUrl& origin, const QString& msg) override;
  bool javaScriptConfirm(const QUrl& origin, const QString& msg) override;
  bool javaScriptPrompt(const QUrl& origin, const QString& msg, const QString& defaultValue,
                        QString* result) override;

 private:
  // True for the first dialog since allowOneDialog; later ones are refused
  // (`for(;;)alert()` must not hold the window).
  bool takeDialog();

  Prompts& prompts_;
  bool dialogShown_ = false;
};

}  // namespace vorlix
