#include "mainwindow/WindowMemory.h"

#include <QSplitter>

#include "preview/PreviewSwitch.h"
#include "components/XeListView.h"
#include "mainwindow/MainWindow.h"
#include "settings/WindowLayout.h"
#include "store/ListRows.h"

namespace vorlix {

WindowMemory::WindowMemory(TFMainXeVorlix& window, Registry& registry, PreviewSwitch* preview)
    : QObject(&window), w_(window), registry_(registry) {
  setObjectName(QStringLiteral("WindowMemory"));
  restore(preview);
  connect(&window, &TFMainXeVorlix::closing, this, &WindowMemory::store);
}

void WindowMemory::restore(PreviewSwitch* preview) {
  const WindowLayout layout = loadWindowLayout(registry_);
  if (!layout.geometry.isEmpty()) w_.restoreGeometry(layout.geometry);
  if (!layout.splitter.isEmpty()) w_.Splitter1->restoreState(layout.splitter);
  if (layout.previewHeight > 0) {
    w_.Panel10->setFixedHeight(layout.previewHeight);
    if (preview) preview->keepPanelHeight();
  }
  for (int c = 0; c < layout.columnWidths.size() && c < kListColumnCount; ++c)
    w_.ListLinks->setColumnWidth(c, layout.columnWidths[c]);
}

void WindowMemory::store() {
  WindowLayout layout;
  layout.geometry = w_.saveGeometry();
  layout.splitter = w_.Splitter1->saveState();
  // Only a docked, shown panel has a height of its own; a floating pane
  // collapses it to nothing.
  if (!w_.Panel10->isHidden() && w_.Panel10->height() > 0)
    layout.previewHeight = w_.Panel10->height();
  for (int c = 0; c < kListColumnCount; ++c) layout.columnWidths << w_.ListLinks->columnWidth(c);
  saveWindowLayout(registry_, layout);
}

}  // namespace vorlix
