#pragma once
// A Prompts that answers from a script and records every question asked.
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "platform/Prompts.h"

namespace vorlix::test {

struct AskedMessage {
  MsgType type;
  Buttons buttons;
  QString text;
  bool sound;
  // The answer Enter would give, for questions asked with one.
  std::optional<Answer> preferred = {};
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
  // Without a scripted answer, the preferred one.
  Answer ask(MsgType type, Buttons buttons, const QString& text, Answer preferred) override {
    const bool scripted = !answers.empty();
    const Answer a = message(type, buttons, text, true);
    asked.back().preferred = preferred;
    return scripted ? a : preferred;
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
