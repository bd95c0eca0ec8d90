#include "editing/FolderName.h"

#include "platform/Prompts.h"
#include "store/Ansi.h"

namespace vorlix {

bool IsValidFolderName(std::string_view name) {
  if (!name.empty() && name.front() == '.') return false;
  return name.find_first_of(":|/\\*><?\"") == std::string_view::npos;
}

QString InvalidFolderNameText(std::string_view name) {
  // The last line leaves out ':' and lists '.', as the program always has.
  return fromAnsi(name) + QStringLiteral("\r\nThe above folder name is invalid.") +
         QStringLiteral("\r\nPlease do not include special characters :") +
         QStringLiteral("\r\n/ \\ * \" < > ? | .");
}

FolderNameVerdict CheckFolderName(Prompts& prompts, std::string_view name) {
  if (!IsValidFolderName(name)) {
    prompts.message(MsgType::Warning, Buttons::Ok, InvalidFolderNameText(name));
    return FolderNameVerdict::Rejected;
  }
  return name.empty() ? FolderNameVerdict::Empty : FolderNameVerdict::Accepted;
}

}  // namespace vorlix
