#include "health/CanonicalUrl.h"

#include <algorithm>
#include <array>
#include <vector>

#include "store/Ansi.h"

namespace vorlix {
namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

void appendLower(std::string& out, std::string_view s) {
  for (char c : s) out.push_back(lower(c));
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The scheme's length, or 0 when the text does not begin with one.
size_t schemeLength(std::string_view s) {
  if (s.empty() || !isAlpha(s[0])) return 0;
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ':') return i;
    if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return 0;
  }
  return 0;
}

std::string_view defaultPort(std::string_view scheme) {
  if (scheme == "http" || scheme == "https" || scheme == "ws") return "80";
  if (scheme == "wss") return "443";
  if (scheme == "ftp") return "21";
  return {};
}

// Whether a text without a scheme still reads as a web address
// ("example.com/page"): its first segment holds a dot and no blank.
bool looksLikeHost(std::string_view s) {
  const std::string_view first = s.substr(0, s.find_first_of("/?#"));
  return !first.empty() && first.find('.') != std::string_view::npos &&
         first.find(' ') == std::string_view::npos;
}

void appendAuthority(std::string& out, std::string_view authority, std::string_view scheme,
                     bool secure) {
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    out.append(authority.substr(0, at + 1));
    authority.remove_prefix(at + 1);
  }
  std::string_view host = authority;
  std::string_view port;
  // An IPv6 literal holds colons of its own.
  const size_t close = authority.rfind(']');
  const size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && (close == std::string_view::npos || colon > close)) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  if (host.size() > 4 && lower(host[0]) == 'w' && lower(host[1]) == 'w' && lower(host[2]) == 'w' &&
      host[3] == '.')
    host.remove_prefix(4);
  appendLower(out, host);
  if (port.empty()) return;
  // http and https are one scheme in the key, so either default port goes.
  if (port == defaultPort(scheme) || (secure && port == "443")) return;
  out.push_back(':');
  out.append(port);
}

void appendQuery(std::string& out, std::string_view query) {
  std::vector<std::string_view> kept;
  while (!query.empty()) {
    const size_t amp = query.find_first_of("&;");
    std::string_view param = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (param.empty()) continue;
    if (isTrackingParameter(param.substr(0, param.find('=')))) continue;
    kept.push_back(param);
  }
  if (kept.empty()) return;
  std::sort(kept.begin(), kept.end());
  out.push_back('?');
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i) out.push_back('&');
    out.append(kept[i]);
  }
}

void canonicalBytes(std::string_view url, std::string& out) {
  url = trimmed(url);
  std::string scheme;
  const size_t schemeLen = schemeLength(url);
  if (schemeLen) {
    appendLower(scheme, url.substr(0, schemeLen));
    url.remove_prefix(schemeLen + 1);
  } else if (looksLikeHost(url)) {
    scheme = "http";
    out.append("http://");
  } else {
    out.append(url);
    return;
  }
  const bool secure = scheme == "https" || scheme == "wss";
  if (scheme == "https") scheme = "http";
  if (scheme == "wss") scheme = "ws";
  if (schemeLen) {
    out.append(scheme);
    out.push_back(':');
  }

  const bool hierarchical = url.substr(0, 2) == "//";
  if (schemeLen && !hierarchical) {
    // mailto:, javascript: and the like: only the scheme's case is noise.
    out.append(url);
    return;
  }
  // Fragment first: it may hold '?' and '/' of its own.
  std::string_view fragment;
  const size_t hash = url.find('#');
  if (hash != std::string_view::npos) {
    fragment = url.substr(hash + 1);
    url = url.substr(0, hash);
  }
  if (hierarchical) {
    url.remove_prefix(2);
    if (schemeLen) out.append("//");
  }
  const size_t end = url.find_first_of("/?");
  appendAuthority(out, url.substr(0, end), scheme, secure);
  url = end == std::string_view::npos ? std::string_view() : url.substr(end);
  std::string_view path = url.substr(0, url.find('?'));
  std::string_view query =
      path.size() < url.size() ? url.substr(path.size() + 1) : std::string_view();
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  out.append(path);
  appendQuery(out, query);
  // "#/route" and "#!/route" name a page of a one-page application.
  if (fragment.substr(0, 1) == "/" || fragment.substr(0, 2) == "!/") {
    out.push_back('#');
    out.append(fragment);
  }
}

}  // namespace

bool isTrackingParameter(std::string_view name) {
  static constexpr std::array<std::string_view, 16> kNames = {
      "fbclid", "gclid",  "dclid",  "gbraid", "wbraid",  "msclkid", "yclid",  "igshid",
      "mc_cid", "mc_eid", "_hsenc", "_hsmi",  "mkt_tok", "twclid",  "ttclid", "_ga"};
  if (name.size() > 4 && lower(name[0]) == 'u' && lower(name[1]) == 't' && lower(name[2]) == 'm' &&
      name[3] == '_')
    return true;
  for (std::string_view n : kNames)
    if (n.size() == name.size() &&
        std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) { return a == lower(b); }))
      return true;
  return false;
}

void appendCanonicalUrl(std::string& out, std::string_view recordUrl) {
  for (char c : recordUrl)
    if (static_cast<unsigned char>(c) >= 0x80) {
      // Text beyond ASCII goes through the store's reading, so the same
      // address typed or stored either way gives one key.
      const QByteArray utf8 = fromAnsi(recordUrl).toUtf8();
      canonicalBytes(std::string_view(utf8.constData(), size_t(utf8.size())), out);
      return;
    }
  canonicalBytes(recordUrl, out);
}

std::string canonicalUrl(std::string_view recordUrl) {
  std::string out;
  appendCanonicalUrl(out, recordUrl);
  return out;
}

std::string canonicalUrl(const QString& url) {
  const QByteArray utf8 = url.toUtf8();
  std::string out;
  canonicalBytes(std::string_view(utf8.constData(), size_t(utf8.size())), out);
  return out;
}

}  // namespace vorlix
