#include "mainwindow/WindowMemory.h"

#include <QSplitter>
#include <QWidget>

#include "components/XeListView.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowParts.h"
#include "settings/WindowLayout.h"
#include "store/ListRows.h"

namespace vorlix {

WindowMemory::WindowMemory(TFMainXeVorlix& window, Registry& registry,
                           std::function<void()> keepPanelHeight)
    : QObject(&window), w_(window), registry_(registry) {
  setObjectName(QStringLiteral("WindowMemory"));
  restore(keepPanelHeight);
  connect(&window, &TFMainXeVorlix::closing, this, &WindowMemory::store);
}

void WindowMemory::restore(const std::function<void()>& keepPanelHeight) {
  const WindowLayout layout = loadWindowLayout(registry_);
  if (!layout.geometry.isEmpty()) w_.restoreGeometry(layout.geometry);
  if (!layout.splitter.isEmpty()) part<QSplitter>(w_, "Splitter1")->restoreState(layout.splitter);
  if (layout.previewHeight > 0) {
    part<QWidget>(w_, "Panel10")->setFixedHeight(layout.previewHeight);
    if (keepPanelHeight) keepPanelHeight();
  }
  for (int c = 0; c < layout.columnWidths.size() && c < kListColumnCount; ++c)
    part<TXeListView>(w_, "ListLinks")->setColumnWidth(c, layout.columnWidths[c]);
}

void WindowMemory::store() {
  WindowLayout layout;
  layout.geometry = w_.saveGeometry();
  layout.splitter = part<QSplitter>(w_, "Splitter1")->saveState();
  // Only a docked, shown panel has a height of its own; a floating pane
  // collapses it to nothing.
  const QWidget* panel = part<QWidget>(w_, "Panel10");
  if (!panel->isHidden() && panel->height() > 0) layout.previewHeight = panel->height();
  const TXeListView* list = part<TXeListView>(w_, "ListLinks");
  for (int c = 0; c < kListColumnCount; ++c) layout.columnWidths << list->columnWidth(c);
  saveWindowLayout(registry_, layout);
}

}  // namespace vorlix
