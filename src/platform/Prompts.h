#pragma once
// Every message box and input box goes through this interface, so a test can
// answer each question the program asks.
#include <QString>

namespace vorlix {

enum class MsgType { Warning, Error, Information, Confirmation };
enum class Buttons { Ok, YesNo, YesNoCancel, YesNoNoToAllYesToAll };
enum class Answer { Ok, Yes, No, Cancel, NoToAll, YesToAll };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A modal message box; `sound` plays the box type's system sound first.
  virtual Answer message(MsgType type, Buttons buttons, const QString& text, bool sound = true) = 0;
  // A question whose default button (the one Enter presses) answers
  // `preferred`, one of the box's buttons.
  virtual Answer ask(MsgType type, Buttons buttons, const QString& text, Answer preferred) {
    (void)preferred;
    return message(type, buttons, text);
  }
  // A modal input box; Cancel returns `defaultText`.
  virtual QString input(const QString& caption, const QString& prompt,
                        const QString& defaultText) = 0;
  // Convenience for the common OK box.
  void inform(MsgType type, const QString& text) { message(type, Buttons::Ok, text); }
};

}  // namespace vorlix
