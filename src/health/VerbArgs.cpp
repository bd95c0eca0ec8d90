#include "health/VerbArgs.h"

#include "platform/AtomicFile.h"
#include "store/LdbFile.h"

namespace vorlix {

bool parseHealthVerbArgs(const QStringList& args, const char* verb, HealthVerbArgs& parsed,
                         QTextStream& err) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--json") && i + 1 < args.size() && parsed.jsonPath.isEmpty()) {
      parsed.jsonPath = args[++i];
    } else if (!a.startsWith(QLatin1String("--")) && parsed.database.isEmpty()) {
      parsed.database = a;
    } else {
      parsed.database.clear();
      break;
    }
  }
  if (parsed.database.isEmpty()) {
    err << "Usage: vorlix " << verb << " FILE.ldb [--json OUT]\n";
    return false;
  }
  return true;
}

bool loadForVerb(const QString& path, LinkList& out, QTextStream& err) {
  const IoResult r = loadLdbFile(path, out);
  if (!r) err << "vorlix: cannot read " << path << ": " << r.message << '\n';
  return r.ok;
}

bool writeVerbJson(const QString& path, const QJsonDocument& json, QTextStream& err) {
  QString error;
  if (writeFileAtomically(path, json.toJson(QJsonDocument::Indented), &error)) return true;
  err << "vorlix: cannot write " << path << ": " << error << '\n';
  return false;
}

}  // namespace vorlix
