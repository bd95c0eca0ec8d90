#pragma once
// The undo history of one open database: a line of named steps with the
// position of the present in it and the point where the file was saved.
#include <QObject>
#include <QString>
#include <deque>

#include "store/ListJournal.h"

namespace vorlix {

struct UndoStep {
  QString text;  // what the step did, for "Undo <text>"
  ListJournal journal;
};

class UndoHistory : public QObject {
  Q_OBJECT
 public:
  // The oldest steps are dropped once the history holds more than this.
  static constexpr size_t kDefaultMemoryLimit = size_t(64) << 20;

  explicit UndoHistory(QObject* parent = nullptr) : QObject(parent) {}

  // Adds a step that has already been applied; forgets the steps that could
  // have been redone.
  void push(UndoStep&& step);
  // The step undo() takes back, or null; the history moves back past it.
  UndoStep* takeUndo();
  UndoStep* takeRedo();

  bool canUndo() const { return current_ > 0; }
  bool canRedo() const { return current_ < steps_.size(); }
  QString undoText() const { return canUndo() ? steps_[current_ - 1].text : QString(); }
  QString redoText() const { return canRedo() ? steps_[current_].text : QString(); }

  // Forgets every step; `clean` says whether the present is a saved state.
  void clear(bool clean);
  // The present becomes the saved state.
  void setClean();
  bool isClean() const { return clean_ == long(current_); }

  size_t count() const { return steps_.size(); }
  size_t memoryBytes() const { return bytes_; }
  void setMemoryLimit(size_t bytes);

 signals:
  // Anything that the undo and redo commands show may have changed.
  void changed();
  void cleanChanged(bool clean);

 private:
  void dropOldest();
  void notify(bool wasClean);

  std::deque<UndoStep> steps_;
  size_t current_ = 0;  // steps before this one are applied
  long clean_ = 0;      // the saved state's position; -1 when it is gone
  size_t bytes_ = 0;
  size_t limit_ = kDefaultMemoryLimit;
};

}  // namespace vorlix
