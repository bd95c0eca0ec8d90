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

// Whether the engine would take `address` for a javascript: URL: letter
// case aside, and after dropping what URL parsers drop (leading blanks and
// control characters, tabs and line breaks anywhere).
bool IsScriptAddress(const QString& address);

// Whether the pane shows pages of `scheme` itself (http, https, file,
// about, data, blob); links of any other scheme go to another program.
bool PaneShowsScheme(const QString& scheme);

}  // namespace vorlix
