#include "mainwindow/UndoCommands.h"

#include <QAction>

#include "document/LinkDocument.h"

namespace vorlix {
namespace {

QString caption(const QString& verb, const QString& step) {
  return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
}

}  // namespace

UndoCommands::UndoCommands(LinkDocument& document, QAction* undo, QAction* redo, QObject* parent)
    : QObject(parent), doc_(document), undo_(undo), redo_(redo) {
  connect(undo_, &QAction::triggered, &doc_, &LinkDocument::undo);
  connect(redo_, &QAction::triggered, &doc_, &LinkDocument::redo);
  connect(&doc_.history(), &UndoHistory::changed, this, &UndoCommands::update);
  update();
}

void UndoCommands::update() {
  const UndoHistory& h = doc_.history();
  undo_->setText(caption(QStringLiteral("Undo"), h.undoText()));
  undo_->setEnabled(h.canUndo());
  redo_->setText(caption(QStringLiteral("Redo"), h.redoText()));
  redo_->setEnabled(h.canRedo());
}

}  // namespace vorlix
