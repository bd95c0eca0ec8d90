#pragma once
// "Already in Folder X" under the URL field of the Add Url dialog, while the
// typed or pasted URL's page is already in the database.
#include <functional>

class QLineEdit;

namespace vorlix {

class KnownUrls;

// Shows the hint just above the right part of `urlField`, following the
// field as it moves and grows; `active` says whether the dialog adds a link
// (an edited link would find itself). The hint lives as long as the field.
void attachDuplicateHint(QLineEdit& urlField, KnownUrls& known, std::function<bool()> active);

}  // namespace vorlix
