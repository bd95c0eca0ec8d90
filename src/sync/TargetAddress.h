#pragma once
// A sync target as one line of text, the form the settings keep and the
// command line takes, taken apart into what the settings page shows:
//   https://dav.example/dir/[file.xbel]          WebDAV (http only for localhost)
//   git+URL[#BRANCH[:FILE]], URL.git[#BRANCH[:FILE]]   a Git repository's branch
//   /a/folder[/file.xbel], file:///a/folder      a folder kept in step by other means
// A Git URL is anything libgit2 reaches: https://, ssh://, file://. The
// branch is "main" and the file "bookmarks.xbel" unless given; ':' cannot
// appear in a branch name, so it ends one.
#include <QString>
#include <optional>

namespace vorlix::sync {

inline const QString kDefaultFileName = QStringLiteral("bookmarks.xbel");
inline const QString kDefaultBranch = QStringLiteral("main");

struct TargetAddress {
  enum class Kind { Folder, WebDav, Git };
  Kind kind = Kind::Folder;
  QString location;  // the folder's path, the WebDAV folder's URL, the repository's URL
  QString branch;    // Git only
  QString file = kDefaultFileName;

  bool operator==(const TargetAddress&) const = default;
};

// Nothing, and `error`, for what cannot be a target.
std::optional<TargetAddress> parseTargetAddress(const QString& text, QString& error);
QString composeTargetAddress(const TargetAddress& address);

}  // namespace vorlix::sync
