#pragma once
// F2 in the list renames in place, as in the tree: a folder row's name
// goes through the folder rename, a link row's description through the
// Edit command's check and step, its URL unchanged.
#include <QObject>

#include "store/Ansi.h"

namespace vorlix {

class TFMainXeVorlix;

class ListRename : public QObject {
  Q_OBJECT
 public:
  // Lives as a child of `window`.
  explicit ListRename(TFMainXeVorlix& window);

 private:
  void rename(int row, const AnsiString& was, const QString& text);

  TFMainXeVorlix& w_;
};

}  // namespace vorlix
