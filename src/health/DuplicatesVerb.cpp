// vorlix --find-duplicates FILE.ldb [--json OUT]
#include <QJsonArray>
#include <QJsonObject>

#include "health/Duplicates.h"
#include "health/HealthVerbs.h"
#include "health/VerbArgs.h"
#include "store/Ansi.h"

namespace vorlix {

int runFindDuplicatesVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  HealthVerbArgs a;
  if (!parseHealthVerbArgs(args, "--find-duplicates", a, err)) return 2;
  LinkList list;
  if (!loadForVerb(a.database, list, err)) return 1;
  const std::vector<DuplicateGroup> groups = findDuplicates(list);
  QJsonArray json;
  size_t extra = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    const DuplicateGroup& group = groups[g];
    out << "Group " << g + 1 << " (" << group.members.size() << " copies)\n";
    QJsonArray copies;
    for (std::uint32_t m : group.members) {
      const QString name = fromAnsi(list[m].fullName());
      const QString url = fromAnsi(list[m].url());
      out << "  " << name << '\t' << url << '\n';
      copies.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("url"), url}});
    }
    json.append(copies);
    extra += group.members.size() - 1;
  }
  out << groups.size() << (groups.size() == 1 ? " group" : " groups")
      << " of duplicates; merging keeps one copy of each and drops " << extra
      << (extra == 1 ? " link\n" : " links\n");
  if (!a.jsonPath.isEmpty() && !writeVerbJson(a.jsonPath, QJsonDocument(json), err)) return 1;
  return 0;
}

}  // namespace vorlix
