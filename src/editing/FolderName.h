#pragma once
// The rule every new or renamed folder name has to pass.
#include <QString>
#include <string_view>

namespace vorlix {

class Prompts;

// False when the name holds one of : | / \ * > < ? " or starts with a dot.
// An empty name is valid here; the commands then end without a change.
bool IsValidFolderName(std::string_view name);

// The four-line warning shown for a rejected name.
QString InvalidFolderNameText(std::string_view name);

enum class FolderNameVerdict { Accepted, Rejected, Empty };

// Applies the rule and, for a rejected name, shows the warning.
FolderNameVerdict CheckFolderName(Prompts& prompts, std::string_view name);

}  // namespace vorlix
