#include "editing/FolderName.h"

#include "platform/Prompts.h"
#include "store/Ansi.h"

namespace vorlix {

bool IsNameCharacter(QChar c) {
  return c != QLatin1Char('\\') && c.category() != QChar::Other_Control;
}

bool HoldsOnlyNameCharacters(const QString& name) {
  for (QChar c : name)
    if (!IsNameCharacter(c)) return false;
  return true;
}

bool IsValidFolderName(std::string_view name) {
  if (!name.empty() && name.front() == '.') return false;
  return HoldsOnlyNameCharacters(fromAnsi(name));
}

QString InvalidFolderNameText(std::string_view name) {
  // The last line lists what a name may not hold: '\', and '.' at its start.
  return fromAnsi(name) + QStringLiteral("\r\nThe above folder name is invalid.") +
         QStringLiteral("\r\nPlease do not include special characters :") +
         QStringLiteral("\r\n\\ .");
}

FolderNameVerdict CheckFolderName(Prompts& prompts, std::string_view name) {
  if (!IsValidFolderName(name)) {
    prompts.message(MsgType::Warning, Buttons::Ok, InvalidFolderNameText(name));
    return FolderNameVerdict::Rejected;
  }
  return name.empty() ? FolderNameVerdict::Empty : FolderNameVerdict::Accepted;
}

QString TooLongText(const QString& what, size_t room, size_t needed) {
  if (needed <= room) return {};
  return QStringLiteral("The %1 is too long.\r\nThere is room for %2 bytes here; it takes %3.")
      .arg(what)
      .arg(room)
      .arg(needed);
}

}  // namespace vorlix
