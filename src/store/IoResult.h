#pragma once
// The outcome of a file operation, with the text the error box shows.
#include <QString>

namespace vorlix {

struct IoResult {
  bool ok = true;
  int error = 0;    // errno of the first failure
  QString message;  // the system's text for it, for the error box
  // Set on a failed save whose new content already replaced the old file
  // (only making that durable failed).
  bool replaced = false;
  explicit operator bool() const { return ok; }
  static IoResult failure(int err);
  // A failure with a text of its own rather than the system's.
  static IoResult failure(int err, const QString& message);
};

}  // namespace vorlix
