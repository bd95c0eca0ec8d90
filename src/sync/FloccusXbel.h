#pragma once
// The XBEL file floccus keeps on the server: folders and bookmarks with their
// `id` attributes, and the "highestId" comment that holds its id counter.
// Written byte for byte as floccus writes it, so a file that round-trips
// through both programs does not change.
#include <QByteArray>
#include <QString>
#include <optional>

#include "sync/SyncTree.h"

namespace vorlix::sync {

// Reads floccus's XBEL. Items without a usable id, or with one already
// taken, get fresh ids above the counter. nullopt (and `error`) when the
// text is not an XBEL document.
std::optional<SyncTree> parseFloccusXbel(const QByteArray& xml, QString* error = nullptr);

// The whole file, UTF-8.
QByteArray writeFloccusXbel(const SyncTree& tree);

}  // namespace vorlix::sync
