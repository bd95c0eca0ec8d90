#include "store/Collation.h"

#include <QCollator>

#include "store/Ansi.h"

namespace vorlix {
namespace {

const QCollator& collator(Qt::CaseSensitivity cs) {
  // One collator per thread and sensitivity: constructing one is costly.
  thread_local QCollator noCase = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  thread_local QCollator withCase = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  return cs == Qt::CaseInsensitive ? noCase : withCase;
}

}  // namespace

int compareNoCase(std::string_view a, std::string_view b) {
  return collator(Qt::CaseInsensitive).compare(fromAnsi(a), fromAnsi(b));
}

int compareCase(std::string_view a, std::string_view b) {
  return collator(Qt::CaseSensitive).compare(fromAnsi(a), fromAnsi(b));
}

}  // namespace vorlix
