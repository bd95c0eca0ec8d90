#pragma once
// The fixed texts of the copy, paste and drop boxes. Their line breaks are
// LF followed by CR, as the program has always shown them.
#include <QString>
#include <string_view>

namespace vorlix {

QString IncorrectSelectionText();
// Paste into the folder the records were copied from.
QString SameFolderPasteText();
// A drop on the folder the rows came from, or a folder on itself.
QString SameFolderMoveText();

enum class FolderVerb { Copy, Move };
// The target already has a folder of the row's name.
QString FolderExistsText(std::string_view name, FolderVerb verb);
// The target already has a link of the row's name.
QString LinkExistsText(std::string_view name);

}  // namespace vorlix
