#include "health/Verdict.h"

namespace vorlix {

QString verdictKey(Verdict v) {
  switch (v) {
    case Verdict::Ok:
      return QStringLiteral("ok");
    case Verdict::Moved:
      return QStringLiteral("moved");
    case Verdict::Gone:
      return QStringLiteral("gone");
    case Verdict::Blocked:
      return QStringLiteral("blocked");
    case Verdict::Unreachable:
      return QStringLiteral("unreachable");
    case Verdict::Unknown:
      break;
  }
  return QStringLiteral("unknown");
}

QString verdictCaption(Verdict v) {
  switch (v) {
    case Verdict::Ok:
      return QStringLiteral("OK");
    case Verdict::Moved:
      return QStringLiteral("Moved");
    case Verdict::Gone:
      return QStringLiteral("Gone");
    case Verdict::Blocked:
      return QStringLiteral("Blocked");
    case Verdict::Unreachable:
      return QStringLiteral("Unreachable");
    case Verdict::Unknown:
      break;
  }
  return QStringLiteral("Unknown");
}

}  // namespace vorlix
