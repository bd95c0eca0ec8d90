#pragma once
// The open database: the LinkList, its file name, its undo history (dirty =
// not at the saved point) and its find index. Views learn of changes through
// the signals; every change of the records is an undo step (DocumentEdit).
#include <QObject>
#include <QString>
#include <memory>

#include "document/UndoHistory.h"
#include "store/LinkList.h"

namespace vorlix {

class FindIndex;

class LinkDocument : public QObject {
  Q_OBJECT
 public:
  explicit LinkDocument(QObject* parent = nullptr);
  ~LinkDocument() override;

  const LinkList& links() const { return list_; }
  const QString& fileName() const { return fileName_; }
  bool isDirty() const { return !history_.isClean(); }
  UndoHistory& history() { return history_; }
  const UndoHistory& history() const { return history_; }

  // New, Open, open recent and start-up: the content of another database
  // with a fresh history. `dirty` for content that is not what the file
  // holds (the first-run import).
  void adopt(LinkList&& content, const QString& fileName, bool dirty = false);
  // An import: one undo step that replaces the whole content; the file name
  // stays.
  void replaceContent(LinkList&& content, const QString& stepName);
  // The content was written to `path`, which becomes the database's file.
  void markSaved(const QString& path);

  void undo();
  void redo();

  // The find index over the present content, rebuilt when it is stale.
  FindIndex& findIndex();

 signals:
  // A whole other database is open (adopt).
  void adopted();
  // An edit step was committed; its command refreshes the views itself.
  void edited();
  // Undo or redo changed the content; views rebuild from it.
  void historyMoved();
  void dirtyChanged(bool dirty);
  void fileNameChanged(const QString& fileName);

 private:
  friend class DocumentEdit;
  void contentChanged() { findIndexStale_ = true; }
  void setFileName(const QString& path);

  LinkList list_;
  QString fileName_;
  UndoHistory history_;
  std::unique_ptr<FindIndex> findIndex_;
  bool findIndexStale_ = true;
  bool editing_ = false;
};

}  // namespace vorlix
