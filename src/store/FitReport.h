#pragma once
// What an import, paste or drop had to change so that its links fit into
// records. Nothing is cut or merged without the user being told: the
// command that fills one shows it in a single summary box at its end.
#include <QString>
#include <QStringList>

namespace vorlix {

struct FitReport {
  // Full names (as stored) of links whose title or URL was cut to fit.
  QStringList cutTitles;
  QStringList cutUrls;
  // Folders whose content went into their parent because they lay too deep.
  QStringList mergedFolders;
  // Items the source holds that records have no place for, by kind
  // ("separators", "tags", "keyword searches", ...), with their counts.
  QList<QPair<QString, qsizetype>> skipped;

  bool changedNothing() const {
    return cutTitles.isEmpty() && cutUrls.isEmpty() && mergedFolders.isEmpty();
  }
};

}  // namespace vorlix
