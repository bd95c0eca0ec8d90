#pragma once
// The page a Firefox window shows, read from Firefox's session store
// (sessionstore-backups/recovery.jsonlz4 or sessionstore.jsonlz4).
#include <QByteArray>
#include <QString>
#include <optional>

namespace vorlix {

struct SessionPage {
  QString url;
  QString title;
};

// Bounds that keep a capture quick whatever lies in the profile.
inline constexpr qint64 kMaxSessionFileBytes = 8 << 20;
inline constexpr qsizetype kMaxSessionJsonBytes = 32 << 20;

// The current entry (tabs[].index) of the selected tab (windows[].selected)
// of the selected window (selectedWindow), all 1-based. With `activeTitle`
// not empty, a tab whose current entry bears that title wins, looked for in
// the selected window first and then in every window, so a selection the
// store has not caught up with yet does not. An index that is missing, not
// a number or out of range is taken as Firefox takes it: no selected window
// means the first window that is not minimised (else the first), a tab or
// entry index is held to the existing ones, and a missing entry index means
// the last entry. Nothing for text that is not such a store.
std::optional<SessionPage> SessionStorePage(const QByteArray& json, const QString& activeTitle);

// Reads, decodes and picks from a session file; nothing when the file is
// missing, larger than kMaxSessionFileBytes or not a session store.
std::optional<SessionPage> ReadSessionStore(const QString& file, const QString& activeTitle);

}  // namespace vorlix
