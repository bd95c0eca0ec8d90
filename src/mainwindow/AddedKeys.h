#pragma once
// Keys a Linux user expects that no menu item can show: Delete deletes the
// selected rows in the list and the selected folder in the tree, Backspace
// in the list goes up like "..". Each runs what its command runs, and only
// while that command is enabled. (Ctrl+O, F5 and Ctrl+D are the menu
// items' own keys, which the menus show.)
#include <QObject>

namespace vorlix {

class TFMainXeVorlix;

class AddedKeys : public QObject {
  Q_OBJECT
 public:
  // Lives as a child of `window`.
  explicit AddedKeys(TFMainXeVorlix& window);

 private:
  void goUp();

  TFMainXeVorlix& w_;
};

}  // namespace vorlix
