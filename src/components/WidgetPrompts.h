#pragma once
// The program's message boxes and input box, as QMessageBox and QInputDialog.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/Prompts.h"

class QInputDialog;
class QMessageBox;

namespace vorlix {

class WidgetPrompts : public Prompts {
 public:
  // The boxes open over `parent`, or over the active window while there is
  // none.
  explicit WidgetPrompts(QWidget* parent = nullptr);

  Answer message(MsgType type, Buttons buttons, const QString& text, bool sound = true) override;
  Answer ask(MsgType type, Buttons buttons, const QString& text, Answer preferred) override;
  QString input(const QString& caption, const QString& prompt, const QString& defaultText) override;

  void setParent(QWidget* parent) { parent_ = parent; }
  // The window title of every message box.
  void setCaption(const QString& caption) { caption_ = caption; }
  QString caption() const { return caption_; }
  // Plays a box type's sound; without one, the player installed in
  // platform/Sounds.h plays it.
  void setSoundHook(std::function<void(MsgType)> hook) { sound_ = std::move(hook); }

  // The answer a box of `buttons` gives when it is closed or escaped:
  // Cancel when it has one, else No, else Ok.
  static Answer escapeAnswer(Buttons buttons);
  // Builds the box message() shows, without showing it.
  static void setUpBox(QMessageBox& box, MsgType type, Buttons buttons, const QString& text);
  // Builds the box input() shows, without showing it: wide enough for its
  // caption in the title bar and for its prompt.
  static void setUpInput(QInputDialog& dlg, const QString& caption, const QString& prompt,
                         const QString& defaultText);

 private:
  QWidget* owner() const;
  Answer show(MsgType type, Buttons buttons, const QString& text, bool sound,
              const Answer* preferred);

  QPointer<QWidget> parent_;
  QString caption_ = QStringLiteral("Vorlix");
  std::function<void(MsgType)> sound_;
};

}  // namespace vorlix
