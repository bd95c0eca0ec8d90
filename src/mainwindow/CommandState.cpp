// Which commands are enabled, from the selection, the internal clipboard and
// the dirty flag.
#include <QAction>
#include <QMenu>

#include "components/XeListView.h"
#include "document/LinkDocument.h"
#include "mainwindow/MainWindow.h"

namespace vorlix {

void TFMainXeVorlix::UpdateCommandState() {
  if (!ECut) return;  // still being built
  const auto& rows = view_->rows();
  const int current = view_->currentItem();
  const bool hasCurrent = current >= 0 && size_t(current) < rows.size();
  // S: a row other than ".." is current while the list has the keyboard focus.
  const bool s = !rows.empty() && keyboardFocusIn(ListLinks) && hasCurrent &&
                 rows[size_t(current)].caption != "..";
  ECut->setEnabled(s);
  ECopy->setEnabled(s);
  EEdit->setEnabled(s);
  EPaste->setEnabled(clipboardHasRecords());
  FSave->setEnabled(doc_.isDirty());
  const bool url = s && rows[size_t(current)].kind == "Url";
  OpenNew->setEnabled(url);
  OpenSame->setEnabled(url);
  CopyURL1->setEnabled(url);
}

}  // namespace vorlix
