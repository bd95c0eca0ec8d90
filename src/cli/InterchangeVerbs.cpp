#include "cli/InterchangeVerbs.h"

#include <QFileInfo>

#include "interchange/BrowserSources.h"
#include "interchange/ImportBuilder.h"
#include "interchange/ImportFile.h"
#include "store/Ansi.h"
#include "store/DosDate.h"
#include "store/LdbFile.h"

namespace vorlix {
namespace {

// Exit statuses: a failure, and arguments that make no command.
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int usage(QTextStream& err, const char* verb, const char* args) {
  err << "vorlix: usage: vorlix " << verb << ' ' << args << '\n';
  return kUsage;
}

// The database at `path`, or an empty one when there is no file yet.
bool loadOrNew(const QString& path, LinkList& list, QTextStream& err) {
  if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return true;
  const IoResult r = loadLdbFile(path, list);
  if (!r) err << "vorlix: cannot open " << path << ": " << r.message << '\n';
  return bool(r);
}

// Adds what `source` holds into folder `folder` of the database `ldb` and
// saves it, telling what happened.
int importInto(const QString& source, const QString& ldb, const QString& folder, QTextStream& out,
               QTextStream& err) {
  LinkList list;
  if (!loadOrNew(ldb, list, err)) return kFailed;
  BookmarkImport result = ImportFileInto(source, list, folder, currentDosDateTime());
  if (!result.ok) {
    err << "vorlix: " << result.error << '\n';
    return kFailed;
  }
  if (list.empty()) {
    list.swap(result.links);  // no second copy of a large import
  } else {
    list.reserve(list.size() + result.links.size());
    for (const LinkRecord& r : result.links) list.append(r);
    result.links.clear();
  }
  const IoResult saved = saveLdbFile(ldb, list);
  if (!saved) {
    err << "vorlix: cannot save " << ldb << ": " << saved.message << '\n';
    return kFailed;
  }
  // "Imported N links and M folders into X of FILE; what else happened."
  QString summary = BookmarkImportSummary(result).chopped(1);
  const qsizetype rest = summary.indexOf(QLatin1Char(';'));
  summary.insert(rest < 0 ? summary.size() : rest,
                 QStringLiteral(" into ") + fromAnsi(result.target) + QStringLiteral(" of ") + ldb);
  out << summary << ".\n";
  const QString report = ImportReportText(result, 1000);
  if (!report.isEmpty()) out << report << '\n';
  return 0;
}

}  // namespace

int ListBrowsersVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (!args.isEmpty()) return usage(err, "--list-browsers", "");
  std::vector<BrowserSource> sources = FindBrowserSources();
  CountLinks(sources);
  for (const BrowserSource& s : sources)
    out << s.browser << '\t' << s.profile << '\t' << s.links << '\t' << s.path << '\n';
  if (sources.empty()) err << "vorlix: no browser bookmarks found.\n";
  return 0;
}

int ImportBrowserVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() != 2) return usage(err, "--import-browser", "SOURCE FILE.ldb");
  const std::vector<BrowserSource> sources = FindBrowserSources();
  const BrowserSource* source = FindSource(sources, args[0]);
  if (!source) {
    err << "vorlix: no browser bookmarks found for " << args[0]
        << " (see vorlix --list-browsers).\n";
    return kFailed;
  }
  return importInto(source->path, args[1], SourceFolderName(*source), out, err);
}

int ImportFileVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() != 2) return usage(err, "--import", "FILE.html|FILE.xbel FILE.ldb");
  return importInto(args[0], args[1], QFileInfo(args[0]).completeBaseName(), out, err);
}

int ExportFileVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() != 2) return usage(err, "--export", "FILE.ldb OUT.html|OUT.xbel");
  LinkList list;
  const IoResult r = loadLdbFile(args[0], list);
  if (!r) {
    err << "vorlix: cannot open " << args[0] << ": " << r.message << '\n';
    return kFailed;
  }
  QString error;
  if (!WriteExportFile(args[1], list, &error)) {
    err << "vorlix: cannot write " << args[1] << ": " << error << '\n';
    return kFailed;
  }
  size_t links = 0;
  for (const LinkRecord& rec : list)
    if (!rec.isFolder()) ++links;
  out << "Exported " << links << " links to " << args[1] << ".\n";
  return 0;
}

}  // namespace vorlix
