#include "document/LinkDocument.h"

#include "store/Find.h"

namespace vorlix {

LinkDocument::LinkDocument(QObject* parent)
    : QObject(parent), findIndex_(std::make_unique<FindIndex>()) {
  connect(&history_, &UndoHistory::cleanChanged, this,
          [this](bool clean) { emit dirtyChanged(!clean); });
}

LinkDocument::~LinkDocument() = default;

void LinkDocument::setFileName(const QString& path) {
  if (path == fileName_) return;
  fileName_ = path;
  emit fileNameChanged(fileName_);
}

void LinkDocument::adopt(LinkList&& content, const QString& fileName, bool dirty) {
  list_.swap(content);
  content.clear();
  contentChanged();
  history_.clear(!dirty);
  setFileName(fileName);
  emit adopted();
}

void LinkDocument::replaceContent(LinkList&& content, const QString& stepName) {
  ListJournal journal;
  journal.exchanged(std::move(content.storage()));
  // The journal holds the new content; exchanging puts it in place and
  // keeps the old one for undo.
  journal.redo(list_.storage());
  content.clear();
  contentChanged();
  history_.push(UndoStep{stepName, std::move(journal)});
  emit edited();
}

void LinkDocument::markSaved(const QString& path) {
  history_.setClean();
  setFileName(path);
}

void LinkDocument::undo() {
  if (UndoStep* step = history_.takeUndo()) {
    step->journal.undo(list_.storage());
    contentChanged();
    emit historyMoved();
  }
}

void LinkDocument::redo() {
  if (UndoStep* step = history_.takeRedo()) {
    step->journal.redo(list_.storage());
    contentChanged();
    emit historyMoved();
  }
}

FindIndex& LinkDocument::findIndex() {
  if (findIndexStale_) {
    findIndex_->rebuild(list_);
    findIndexStale_ = false;
  }
  return *findIndex_;
}

}  // namespace vorlix
