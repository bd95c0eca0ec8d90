#pragma once
// The recent-files list without its menu: the file names, most recent first,
// their numbering, and the list's copy in the registry under
// <key>\FileHistory as File1..File9, FileA..FileZ. TRecentFiles shows it as
// menu entries.
#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>

namespace vorlix {

class Registry;

class RecentFileList {
 public:
  // Whether a name may join the list; the default asks the file system for
  // an existing ordinary file (no FIFO, device, folder or /proc file).
  // Tests replace it.
  using FileCheck = std::function<bool(const QString&)>;

  RecentFileList();

  // The numbering character of position p (0 = top): '1'..'9', then 'A'..'Z'.
  static QChar numberChar(int position);
  // "&" + numbering character + " " + the name: the entry's menu text.
  static QString caption(int position, const QString& fileName);

  const QStringList& files() const { return files_; }
  int count() const { return int(files_.size()); }
  bool isEmpty() const { return files_.isEmpty(); }

  // Only stores the limit; additions shorten the list, one entry each.
  void setMaxFiles(int n) { maxFiles_ = n; }
  int maxFiles() const { return maxFiles_; }
  void setFileCheck(FileCheck check) { exists_ = std::move(check); }

  // Puts an existing file at the top (moving it when present; names compare
  // exactly, letter case counts), then drops the last entry when the list is
  // longer than maxFiles. False when nothing was added.
  bool addFile(const QString& fileName);
  void removeAt(int position);
  void clear() { files_.clear(); }

  // The registry side. `key` is the list's registry path, for example
  // "\SOFTWARE\Vorlix"; the list lives in its FileHistory subkey.
  static QString historyKey(const QString& key);
  // Replaces the stored list with the current one. False when the registry
  // could not be written.
  bool save(Registry& registry, const QString& key) const;
  // Adds the stored files, File<maxFiles> first so that File1 ends on top;
  // missing files and values past maxFiles are skipped. Nothing happens when
  // the key or its FileHistory subkey is missing. Returns how many were added.
  int load(const Registry& registry, const QString& key);
  // Empties the stored list; a missing FileHistory key stays missing.
  static bool clearStored(Registry& registry, const QString& key);

 private:
  QStringList files_;
  int maxFiles_ = 0;
  FileCheck exists_;
};

}  // namespace vorlix
