#pragma once
// Keys a Linux user expects, beside the command table's own and taken by
// none of its entries: Delete deletes the selected rows in the list and the
// selected folder in the tree, Backspace in the list goes up like "..",
// Ctrl+O opens a database and F5 refreshes the list. Each runs what its
// command runs, and only while that command is enabled.
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
