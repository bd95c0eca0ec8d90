#include "store/Paths.h"

#include <string.h>

#include <algorithm>

namespace vorlix {
namespace {

// This runs on every record of every rebuild: memrchr is vectorised.
size_t lastSeparator(std::string_view s) {
  if (s.empty()) return std::string_view::npos;
  const auto* slash = static_cast<const char*>(::memrchr(s.data(), '\\', s.size()));
  return slash ? size_t(slash - s.data()) : std::string_view::npos;
}

}  // namespace

std::string_view FilePathView(std::string_view s) {
  const size_t p = lastSeparator(s);
  return p == std::string_view::npos ? std::string_view() : s.substr(0, p + 1);
}

std::string_view FileNameView(std::string_view s) {
  const size_t p = lastSeparator(s);
  return p == std::string_view::npos ? s : s.substr(p + 1);
}

std::string_view FirstComponentView(std::string_view s) {
  const size_t p = s.find('\\');
  return p == std::string_view::npos ? std::string_view() : s.substr(0, p);
}

std::string_view LastComponentSlashView(std::string_view s) {
  const size_t last = s.rfind('\\');
  if (last == std::string_view::npos) return {};
  const size_t prev = last == 0 ? std::string_view::npos : s.rfind('\\', last - 1);
  const size_t from = prev == std::string_view::npos ? 0 : prev + 1;
  return s.substr(from, last + 1 - from);
}

std::string_view LastComponentView(std::string_view s) {
  std::string_view v = LastComponentSlashView(s);
  if (!v.empty()) v.remove_suffix(1);
  return v;
}

std::string_view ParentPathView(std::string_view s) {
  const size_t last = s.rfind('\\');
  if (last == std::string_view::npos || last == 0) return {};
  const size_t prev = s.rfind('\\', last - 1);
  return prev == std::string_view::npos ? std::string_view() : s.substr(0, prev + 1);
}

NameParts SplitFullName(std::string_view s) {
  const size_t p = lastSeparator(s);
  if (p == std::string_view::npos) return {{}, s};
  return {s.substr(0, p + 1), s.substr(p + 1)};
}

int Depth(std::string_view s) { return int(std::count(s.begin(), s.end(), '\\')); }

}  // namespace vorlix
