#pragma once
// The window keeps its controls and actions to itself; the parts the
// composition root connects, and the tests, find them by the names the
// program gives them, as screen readers and outside test tools do.
#include <QAction>
#include <QObject>
#include <QtGlobal>

namespace vorlix {

// The window's control or action named `name`; a name that is not there is
// a programming error, found at start.
template <class T = QAction>
T* part(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(QLatin1String(name));
  if (!found) qFatal("The main window has no %s named %s", T::staticMetaObject.className(), name);
  return found;
}

}  // namespace vorlix
