#include "cli/Verbs.h"

#include <QCoreApplication>
#include <cstring>

#include "cli/InterchangeVerbs.h"
#include "health/HealthVerbs.h"
#include "sync/SyncVerb.h"

namespace vorlix {
namespace {

int help(const QStringList&, QTextStream& out, QTextStream&);

// One row per command; keep them in the order --help lists them.
const Verb kVerbs[] = {
    {"--help", "", "lists these commands", help},
    {"--check-links", "FILE.ldb [--json OUT]",
     "checks every link of the database and prints its verdict", runCheckLinksVerb},
    {"--find-duplicates", "FILE.ldb [--json OUT]", "lists the links that share one canonical URL",
     runFindDuplicatesVerb},
    {"--list-browsers", "",
     "lists the browsers' bookmarks found: browser, profile, links and file, tab-separated",
     ListBrowsersVerb},
    {"--import-browser", "SOURCE FILE.ldb",
     "adds a browser's bookmarks (a file --list-browsers printed, or a browser's name for its "
     "default profile) into a folder of FILE.ldb, made when missing",
     ImportBrowserVerb},
    {"--import", "FILE.html|FILE.xbel FILE.ldb",
     "adds the bookmarks of a bookmark file into a folder of FILE.ldb, made when missing",
     ImportFileVerb},
    {"--export", "FILE.ldb OUT.html|OUT.xbel", "writes the database as a bookmark or XBEL file",
     ExportFileVerb},
    {"--sync", "FILE.ldb [--to TARGET] [--allow-deletions]",
     "syncs the database with its target in floccus's format. TARGET is a WebDAV URL\n"
     "      (https://dav.example/dir/[file.xbel]), a Git branch (git+URL[#BRANCH[:FILE]], or a\n"
     "      URL ending in .git; branch main, file bookmarks.xbel unless given) or a folder.\n"
     "      The password comes from the secret store, else VORLIX_SYNC_PASSWORD; the user\n"
     "      from the sync settings, else VORLIX_SYNC_USER",
     sync::runSyncVerb},
};

int help(const QStringList&, QTextStream& out, QTextStream&) {
  out << "Usage: vorlix [FILE.ldb | URL [DESCRIPTION]]\n"
         "       vorlix COMMAND ARGUMENTS...\n\nCommands:\n";
  for (const Verb& v : kVerbs) {
    out << "  " << v.name;
    if (*v.usage) out << ' ' << v.usage;
    out << "\n      " << v.about << '\n';
  }
  return 0;
}

}  // namespace

bool isVerbCommandLine(int argc, char** argv) {
  return argc > 1 && std::strncmp(argv[1], "--", 2) == 0;
}

int runVerb(const QStringList& params, QTextStream& out, QTextStream& err) {
  const QString name = params.value(0);
  for (const Verb& v : kVerbs)
    if (name == QLatin1String(v.name)) return v.run(params.mid(1), out, err);
  err << "vorlix: unknown command " << name << "\n\n";
  help({}, err, err);
  return 2;
}

int runVerbCommandLine(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Vorlix"));
  QTextStream out(stdout);
  QTextStream err(stderr);
  const int status = runVerb(QCoreApplication::arguments().mid(1), out, err);
  out.flush();
  err.flush();
  return status;
}

}  // namespace vorlix
