#pragma once
// The address bar's rule for a typed address.
#include <QString>

namespace vorlix {

// Whether `text` begins with a URL scheme ("https:", "HTTP:", "file:",
// "about:", ...). A host followed by a port ("localhost:8080") is not one.
bool HasScheme(const QString& text);

// The address to navigate to: `text` as it is when it names its scheme,
// else "http://" + `text`.
QString CompleteAddress(const QString& text);

}  // namespace vorlix
