#pragma once
// The bookmarks file in a folder that Syncthing, a cloud client or a USB
// stick keeps in step, with floccus's lock file beside it.
#include <QTimer>

#include "sync/SyncTarget.h"

namespace vorlix::sync {

class FolderTarget : public SyncTarget {
 public:
  explicit FolderTarget(QString filePath);
  ~FolderTarget() override;

  QString describe() const override { return path_; }
  QString fileName() const override;
  bool lock(QString& error) override;
  void unlock() override;
  bool fetch(QByteArray& data, bool& exists, QString& error) override;
  bool store(const QByteArray& data, QString& error) override;

 private:
  QString lockPath() const { return path_ + QStringLiteral(".lock"); }
  QString path_;
  QTimer refresh_;
  bool locked_ = false;
};

}  // namespace vorlix::sync
