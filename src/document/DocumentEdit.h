#pragma once
// One undoable edit of the open database. Change the records through
// links(), then commit(): the changes become one step of the history.
// Leaving the scope without commit() takes every change back.
#include <QString>

#include "store/ListJournal.h"

namespace vorlix {

class LinkDocument;
class LinkList;

class DocumentEdit {
 public:
  DocumentEdit(LinkDocument& doc, QString stepName);
  ~DocumentEdit();
  DocumentEdit(const DocumentEdit&) = delete;
  DocumentEdit& operator=(const DocumentEdit&) = delete;

  LinkList& links();
  // The step's caption may depend on what the edit found.
  void setName(const QString& name) { name_ = name; }
  // Ends the edit. A step that changed nothing adds nothing to the history.
  void commit();

 private:
  void detach();

  LinkDocument& doc_;
  QString name_;
  ListJournal journal_;
  bool open_ = true;
};

}  // namespace vorlix
