#pragma once
// What a link check found out about one link.
#include <QDateTime>
#include <QMetaType>
#include <QString>

namespace vorlix {

enum class Verdict {
  Ok,
  Moved,        // a permanent redirect to another URL, offered to the user
  Gone,         // 404, 410, no such host, sent to the front page, parked
  Blocked,      // 401, 403, 429, 451, challenge pages: never dead
  Unreachable,  // time-outs, refused connections, TLS errors
  Unknown,      // anything else, and links that are never requested
};

// "ok", "moved", ... as the JSON output names them.
QString verdictKey(Verdict v);
// "OK", "Moved", ... as the results window shows them.
QString verdictCaption(Verdict v);
// Gone and Unreachable are failures; two a day apart confirm them.
inline bool isFailure(Verdict v) { return v == Verdict::Gone || v == Verdict::Unreachable; }

// One link's answer from the network.
struct ProbeResult {
  Verdict verdict = Verdict::Unknown;
  int status = 0;    // the last HTTP status, 0 when none came
  QString finalUrl;  // where the redirects ended
  QString movedTo;   // Moved: the URL the permanent redirects lead to
  QString reason;    // a short text for the user
};

// A probe with what the check history adds.
struct LinkCheck {
  ProbeResult probe;
  bool confirmed = false;  // a failure that agrees with one a day or more before
  QDateTime firstFailure;  // when the present run of failures began; null when none
};

}  // namespace vorlix

Q_DECLARE_METATYPE(vorlix::ProbeResult)
