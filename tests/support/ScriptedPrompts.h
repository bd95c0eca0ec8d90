#pragma once
// A Prompts that answers from a script and records every question asked.
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/Prompts.h"

namespace vorlix::test {

struct AskedMessage {
  MsgType type;
  Buttons buttons;
  QString text;
  bool sound;
};

class ScriptedPrompts : public Prompts {
 public:
  std::deque<Answer> answers;  // next answers to message(), front first
  std::deque<QString> inputs;  // next answers to input(); empty = Cancel
  std::vector<AskedMessage> asked;
  QStringList inputCaptions;

  Answer message(MsgType type, Buttons buttons, const QString& text, bool sound) override {
    asked.push_back({type, buttons, text, sound});
    if (answers.empty()) return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  QString input(const QString& caption, const QString& prompt, const QString& def) override {
    inputCaptions << caption + QLatin1Char('|') + prompt;
    if (inputs.empty()) return def;
    QString s = inputs.front();
    inputs.pop_front();
    return s;
  }
  QString lastText() const { return asked.empty() ? QString() : asked.back().text; }
};

}  // namespace vorlix::test
