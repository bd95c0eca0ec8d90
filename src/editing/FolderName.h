#pragma once
// The rules every new or renamed name has to pass.
#include <QString>
#include <string_view>

namespace vorlix {

class Prompts;

// Names take any character but '\' (the path separator) and control
// characters.
bool IsNameCharacter(QChar c);
bool HoldsOnlyNameCharacters(const QString& name);

// False when the name holds a character names may not hold, or starts with
// a dot. An empty name is valid here; the commands then end without a change.
bool IsValidFolderName(std::string_view name);

// The four-line warning shown for a rejected name.
QString InvalidFolderNameText(std::string_view name);

enum class FolderNameVerdict { Accepted, Rejected, Empty };

// Applies the rule and, for a rejected name, shows the warning.
FolderNameVerdict CheckFolderName(Prompts& prompts, std::string_view name);

// The warning for a name or URL whose stored form does not fit the room
// left for it (in bytes), or an empty text when it fits. `what` is "folder
// name", "description" or "URL".
QString TooLongText(const QString& what, size_t room, size_t needed);

}  // namespace vorlix
