#pragma once
// The user locale's string comparisons, on Windows-1252 text.
#include <string_view>

namespace vorlix {

// < 0, 0 or > 0, letter case ignored.
int compareNoCase(std::string_view a, std::string_view b);
// < 0, 0 or > 0, letter case counts.
int compareCase(std::string_view a, std::string_view b);

}  // namespace vorlix
