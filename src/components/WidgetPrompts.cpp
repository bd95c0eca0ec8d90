#include "components/WidgetPrompts.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "platform/Sounds.h"

namespace vorlix {

namespace {

QMessageBox::Icon iconOf(MsgType type) {
  switch (type) {
    case MsgType::Warning:
      return QMessageBox::Warning;
    case MsgType::Error:
      return QMessageBox::Critical;
    case MsgType::Information:
      return QMessageBox::Information;
    case MsgType::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::YesNoNoToAllYesToAll:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::NoToAll | QMessageBox::YesToAll;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButton standardOf(Answer a) {
  switch (a) {
    case Answer::Ok:
      return QMessageBox::Ok;
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::No:
      return QMessageBox::No;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::NoToAll:
      return QMessageBox::NoToAll;
    case Answer::YesToAll:
      return QMessageBox::YesToAll;
  }
  return QMessageBox::NoButton;
}

}  // namespace

WidgetPrompts::WidgetPrompts(QWidget* parent) : parent_(parent) {}

QWidget* WidgetPrompts::owner() const {
  return parent_ ? parent_.data() : QApplication::activeWindow();
}

Answer WidgetPrompts::escapeAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoNoToAllYesToAll:
      return Answer::No;
    case Buttons::YesNoCancel:
      return Answer::Cancel;
  }
  return Answer::Ok;
}

void WidgetPrompts::setUpBox(QMessageBox& box, MsgType type, Buttons buttons, const QString& text) {
  box.setIcon(iconOf(type));
  // Messages quote descriptions, URLs and folder names: never markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  box.setStandardButtons(buttonsOf(buttons));
  if (QAbstractButton* b = box.button(QMessageBox::NoToAll))
    b->setText(QStringLiteral("No to all"));
  if (QAbstractButton* b = box.button(QMessageBox::YesToAll)) {
    b->setText(QStringLiteral("Yes to all"));
  }
  // The first button of the set is the default, as the questions expect.
  box.setDefaultButton(buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes);
  box.setEscapeButton(box.button(standardOf(escapeAnswer(buttons))));
}

Answer WidgetPrompts::message(MsgType type, Buttons buttons, const QString& text, bool sound) {
  return show(type, buttons, text, sound, nullptr);
}

Answer WidgetPrompts::ask(MsgType type, Buttons buttons, const QString& text, Answer preferred) {
  return show(type, buttons, text, true, &preferred);
}

Answer WidgetPrompts::show(MsgType type, Buttons buttons, const QString& text, bool sound,
                           const Answer* preferred) {
  if (sound) {
    if (sound_) {
      sound_(type);
    } else {
      playMessageSound(type);
    }
  }
  QMessageBox box(owner());
  box.setWindowTitle(caption_);
  setUpBox(box, type, buttons, text);
  if (preferred) {
    static const std::pair<Answer, QMessageBox::StandardButton> kButtons[] = {
        {Answer::Ok, QMessageBox::Ok},           {Answer::Yes, QMessageBox::Yes},
        {Answer::No, QMessageBox::No},           {Answer::Cancel, QMessageBox::Cancel},
        {Answer::NoToAll, QMessageBox::NoToAll}, {Answer::YesToAll, QMessageBox::YesToAll}};
    for (const auto& [answer, button] : kButtons)
      if (answer == *preferred) box.setDefaultButton(button);
  }
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::NoToAll:
      return Answer::NoToAll;
    case QMessageBox::YesToAll:
      return Answer::YesToAll;
    default:
      return escapeAnswer(buttons);
  }
}

void WidgetPrompts::setUpInput(QInputDialog& dlg, const QString& caption, const QString& prompt,
                               const QString& defaultText) {
  dlg.setWindowTitle(caption);
  dlg.setInputMode(QInputDialog::TextInput);
  dlg.setLabelText(prompt);
  // The prompt can quote a folder name: plain text only.
  for (QLabel* label : dlg.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
  dlg.setTextValue(defaultText);
  dlg.setOkButtonText(QStringLiteral("OK"));
  dlg.setCancelButtonText(QStringLiteral("Cancel"));

  // The window manager cuts a title that does not fit ("Renam... older"),
  // and draws it in its own, often bold, font beside an icon and three
  // buttons. The box's layout fixes its minimum width, so the text field
  // carries the width.
  QFont titleFont = dlg.font();
  titleFont.setBold(true);
  const int title = QFontMetrics(titleFont).horizontalAdvance(caption);
  const int decoration = 4 * QFontMetrics(titleFont).height() + 40;
  const int text = QFontMetrics(dlg.font()).horizontalAdvance(prompt);
  auto* edit = dlg.findChild<QLineEdit*>();
  if (!edit || !dlg.layout()) return;
  const QMargins m = dlg.layout()->contentsMargins();
  const int wanted = std::max(title + decoration, text) - m.left() - m.right();
  edit->setMinimumWidth(std::max(edit->minimumWidth(), wanted));
}

QString WidgetPrompts::input(const QString& caption, const QString& prompt,
                             const QString& defaultText) {
  QInputDialog dlg(owner());
  setUpInput(dlg, caption, prompt, defaultText);
  if (dlg.exec() != QDialog::Accepted) return defaultText;
  return dlg.textValue();
}

}  // namespace vorlix
