#pragma once
// The main window comes back as the user left it: size, place, maximised
// state, the splitters and the list's column widths, kept in the settings
// when the window closes and put back when the next run assembles it.
#include <QObject>
#include <functional>

namespace vorlix {

class Registry;
class TFMainXeVorlix;

class WindowMemory : public QObject {
  Q_OBJECT
 public:
  // Puts the stored layout back at once (before the window first shows),
  // and stores it again when the window closes for good. Lives as a child
  // of `window`.
  // `keepPanelHeight` tells the preview pane that the panel's height was restored.
  WindowMemory(TFMainXeVorlix& window, Registry& registry, std::function<void()> keepPanelHeight);

 private:
  void restore(const std::function<void()>& keepPanelHeight);
  void store();

  TFMainXeVorlix& w_;
  Registry& registry_;
};

}  // namespace vorlix
