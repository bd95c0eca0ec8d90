#pragma once
// TFAbout: the modal About box. Its mail button addresses a message to the
// maker; a click anywhere else, Enter or Escape closes it.
#include <QDialog>
#include <QUrl>
#include <functional>

class QPushButton;

namespace vorlix {

class TFAbout : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kContactAddress = "vorlix@example.org";
  static constexpr const char* kSubtitle = "Your web links, in folders, at your fingertips";

  explicit TFAbout(QWidget* parent = nullptr);

  // Opens the mail address; the default hands it to QDesktopServices.
  void setMailOpener(std::function<bool(const QUrl&)> opener) { opener_ = std::move(opener); }
  // The application version, or the build's own when the application set none.
  static QString versionText();
  static QUrl contactUrl();
  QPushButton* mailButton() const { return mail_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void mailClicked();

  QPushButton* mail_ = nullptr;
  std::function<bool(const QUrl&)> opener_;
};

}  // namespace vorlix
