#pragma once
// Edit > Undo and Redo: the two commands run the document's history, and
// their captions name the step they would take ("Undo Delete 'News'").
#include <QObject>

class QAction;

namespace vorlix {

class LinkDocument;

class UndoCommands : public QObject {
  Q_OBJECT
 public:
  UndoCommands(LinkDocument& document, QAction* undo, QAction* redo, QObject* parent);

 private:
  void update();

  LinkDocument& doc_;
  QAction* undo_;
  QAction* redo_;
};

}  // namespace vorlix
