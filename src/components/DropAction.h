#pragma once
// How a drop of another program's data is taken.
#include <QDropEvent>

namespace vorlix {

// As a copy where the source allows one: the program the data came from
// keeps it.
inline void AcceptAsCopy(QDropEvent* e) {
  if (e->possibleActions() & Qt::CopyAction) {
    e->setDropAction(Qt::CopyAction);
    e->accept();
  } else {
    e->acceptProposedAction();
  }
}

}  // namespace vorlix
