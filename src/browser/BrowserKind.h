#pragma once
// Which browser family a command names: the new-window request knows how to
// ask the Mozilla family and the Chromium family.
#include <QString>

namespace vorlix {

enum class BrowserFamily { None, Mozilla, Chromium };

// Decided from the upper-cased command text; the Mozilla names are looked
// for first, so a command naming both counts as Mozilla.
BrowserFamily BrowserFamilyOf(const QString& command);

}  // namespace vorlix
