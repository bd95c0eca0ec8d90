#include "document/UndoHistory.h"

namespace vorlix {

void UndoHistory::notify(bool wasClean) {
  emit changed();
  if (wasClean != isClean()) emit cleanChanged(isClean());
}

void UndoHistory::push(UndoStep&& step) {
  const bool wasClean = isClean();
  while (steps_.size() > current_) {
    bytes_ -= steps_.back().journal.memoryBytes();
    steps_.pop_back();
  }
  // A saved state among the forgotten steps can no longer be reached.
  if (clean_ > long(current_)) clean_ = -1;
  bytes_ += step.journal.memoryBytes();
  steps_.push_back(std::move(step));
  ++current_;
  dropOldest();
  notify(wasClean);
}

void UndoHistory::dropOldest() {
  // The newest step always stays, so the last edit can be taken back even
  // when it alone is larger than the limit.
  while (bytes_ > limit_ && steps_.size() > 1 && current_ >= 1) {
    bytes_ -= steps_.front().journal.memoryBytes();
    steps_.pop_front();
    --current_;
    clean_ = clean_ > 0 ? clean_ - 1 : -1;
  }
}

UndoStep* UndoHistory::takeUndo() {
  if (!canUndo()) return nullptr;
  const bool wasClean = isClean();
  UndoStep* step = &steps_[--current_];
  notify(wasClean);
  return step;
}

UndoStep* UndoHistory::takeRedo() {
  if (!canRedo()) return nullptr;
  const bool wasClean = isClean();
  UndoStep* step = &steps_[current_++];
  notify(wasClean);
  return step;
}

void UndoHistory::clear(bool clean) {
  const bool wasClean = isClean();
  steps_.clear();
  current_ = 0;
  bytes_ = 0;
  clean_ = clean ? 0 : -1;
  notify(wasClean);
}

void UndoHistory::setClean() {
  const bool wasClean = isClean();
  clean_ = long(current_);
  notify(wasClean);
}

void UndoHistory::setMemoryLimit(size_t bytes) {
  limit_ = bytes;
  dropOldest();
  emit changed();
}

}  // namespace vorlix
