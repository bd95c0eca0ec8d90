#pragma once
// How the main window was laid out when it last closed: its size, place
// and maximised state, where the splitters stood and how wide the list's
// columns were. Kept under the Settings key, beside the preferences:
// "WindowGeometry" and "WindowSplitter" (base64 text), "PreviewHeight"
// (REG_DWORD) and "ColumnWidths" (decimal widths separated by commas).
#include <QByteArray>
#include <QList>

namespace vorlix {

class Registry;

struct WindowLayout {
  QByteArray geometry;    // QWidget::saveGeometry(): size, place, maximised
  QByteArray splitter;    // QSplitter::saveState() of the folder | list split
  int previewHeight = 0;  // the docked preview panel's height; 0: not known
  QList<int> columnWidths;
};

// What is stored; values that are missing or cannot be read stay empty.
WindowLayout loadWindowLayout(const Registry& registry);
// Writes every value in one change; an empty or unknown one is left as stored.
bool saveWindowLayout(Registry& registry, const WindowLayout& layout);

}  // namespace vorlix
