#include "editing/EditTexts.h"

#include "store/Ansi.h"

namespace vorlix {
namespace {
const QString kBreak = QStringLiteral("\n\r");
}

QString IncorrectSelectionText() { return QStringLiteral("Incorect selection !"); }

QString SameFolderPasteText() {
  return QStringLiteral("Cannot move: the destination folder is the same as the source folder !");
}

QString SameFolderMoveText() {
  return QStringLiteral(
      "Cannot move: the destination folder is the same as are the source folder !");
}

QString FolderExistsText(std::string_view name, FolderVerb verb) {
  return QStringLiteral("The Folder already contains a folder named '") + fromAnsi(name) +
         QStringLiteral("'.") + kBreak + kBreak +
         QStringLiteral("If the links in the existing folder have the same URL as links in the") +
         kBreak + QStringLiteral("the folder you are copying, they will be replaced.") + kBreak +
         (verb == FolderVerb::Copy ? QStringLiteral("Do you still want to copy the folder ?")
                                   : QStringLiteral("Do you still want to move the folder ?"));
}

QString LinkExistsText(std::string_view name) {
  return QStringLiteral("This folder already contains a link with URL :") + kBreak +
         fromAnsi(name) + kBreak + kBreak +
         QStringLiteral("Would you like to replace the existing link ?");
}

}  // namespace vorlix
