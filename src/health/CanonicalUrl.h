#pragma once
// The key under which two links count as the same page: scheme and host in
// lower case, http and https as one, no "www.", no default port, no trailing
// slash, query parameters sorted without the tracking ones, and no fragment
// unless it is an app route ("#/", "#!/").
#include <QString>
#include <string>
#include <string_view>

namespace vorlix {

// `url` as the record holds it (store bytes). The key is UTF-8 text; it is
// only ever compared, never shown or stored.
std::string canonicalUrl(std::string_view recordUrl);
// Appends the key to `out` (for building many keys without allocating).
void appendCanonicalUrl(std::string& out, std::string_view recordUrl);
// The same for a URL typed or pasted as text.
std::string canonicalUrl(const QString& url);

// Whether a query parameter's name is one of the known tracking parameters.
bool isTrackingParameter(std::string_view name);

}  // namespace vorlix
