#pragma once
// Small steps several editing commands take on the host.
#include <QString>
#include <string_view>

#include "store/Ansi.h"

namespace vorlix {

class EditorHost;
class LinkList;
struct FolderPosition;

// RebuildTree, then put back the folder position it may have moved: the list
// keeps showing the folder it showed.
void RebuildTreeKeepingPosition(EditorHost& host);

// Makes `path` the current folder as a tree selection would (up marker =
// the path below the root) and sets the path label.
void MoveToFolder(EditorHost& host, const AnsiString& path);

// "'name'" for step captions such as "Delete 'News'".
QString QuotedName(std::string_view name);

// The longest stored full name RenameFolderPath would make.
size_t LongestAfterRename(const LinkList& links, std::string_view oldPath,
                          std::string_view newPath);

// Renames a folder path in every record: each full name beginning with
// `oldPath` (letter case ignored) gets `newPath` in place of that beginning,
// cut to 255 characters. Returns how many records changed.
size_t RenameFolderPath(LinkList& links, std::string_view oldPath, std::string_view newPath);

}  // namespace vorlix
