#include "document/DocumentEdit.h"

#include <utility>

#include "document/LinkDocument.h"

namespace vorlix {

DocumentEdit::DocumentEdit(LinkDocument& doc, QString stepName)
    : doc_(doc), name_(std::move(stepName)) {
  // Edits do not nest: one step is one user action.
  Q_ASSERT(!doc_.editing_);
  doc_.editing_ = true;
  doc_.list_.setJournal(&journal_);
}

DocumentEdit::~DocumentEdit() {
  if (!open_) return;
  detach();
  if (!journal_.empty()) {
    journal_.undo(doc_.list_.storage());
    doc_.contentChanged();
  }
}

LinkList& DocumentEdit::links() { return doc_.list_; }

void DocumentEdit::detach() {
  doc_.list_.setJournal(nullptr);
  doc_.editing_ = false;
  open_ = false;
}

void DocumentEdit::commit() {
  if (!open_) return;
  detach();
  if (journal_.empty()) return;
  journal_.compact();
  doc_.contentChanged();
  doc_.history_.push(UndoStep{name_, std::move(journal_)});
  emit doc_.edited();
}

}  // namespace vorlix
