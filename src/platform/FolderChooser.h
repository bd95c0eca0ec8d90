#pragma once
// Asks the user for a folder. The main window supplies a file-dialog chooser;
// tests supply their own answers.
#include <QString>

namespace vorlix {

class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  // The chosen folder's path, or an empty string when the user cancelled.
  virtual QString chooseFolder(const QString& prompt, const QString& initial) = 0;
};

}  // namespace vorlix
