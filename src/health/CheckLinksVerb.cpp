// vorlix --check-links FILE.ldb [--json OUT]
#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>

#include "health/CheckHistory.h"
#include "health/CheckRun.h"
#include "health/HealthVerbs.h"
#include "health/VerbArgs.h"
#include "store/Ansi.h"

namespace vorlix {

int runCheckLinksVerb(const QStringList& args, QTextStream& out, QTextStream& err) {
  HealthVerbArgs a;
  if (!parseHealthVerbArgs(args, "--check-links", a, err)) return 2;
  LinkList list;
  if (!loadForVerb(a.database, list, err)) return 1;

  QVector<CheckJob> jobs;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].isUrl()) jobs.push_back({quint32(i), fromAnsi(list[i].url())});
  CheckHistory history;
  history.load();
  CheckRun run(PacingRules{}, history);
  QHash<quint32, LinkCheck> checks;
  QObject::connect(&run, &CheckRun::linkChecked, &run,
                   [&checks](quint32 id, const LinkCheck& c) { checks.insert(id, c); });
  QEventLoop loop;
  QObject::connect(&run, &CheckRun::finished, &loop, &QEventLoop::quit);
  run.start(jobs);
  if (run.running()) loop.exec();

  QJsonArray json;
  for (const CheckJob& job : std::as_const(jobs)) {
    const LinkCheck c = checks.value(job.id);
    const ProbeResult& p = c.probe;
    const QString name = fromAnsi(list[job.id].fullName());
    const QString& finalUrl = p.finalUrl;
    QString verdict = verdictCaption(p.verdict);
    if (isFailure(p.verdict)) verdict += c.confirmed ? QStringLiteral(" (confirmed)") : QString();
    out << verdict << '\t' << p.status << '\t' << name << '\t' << job.url;
    if (!finalUrl.isEmpty() && finalUrl != job.url) out << "\t-> " << finalUrl;
    if (!p.reason.isEmpty()) out << "\t(" << p.reason << ')';
    if (p.verdict == Verdict::Moved) out << "\tnew URL: " << p.movedTo;
    out << '\n';
    json.append(QJsonObject{{QStringLiteral("name"), name},
                            {QStringLiteral("url"), job.url},
                            {QStringLiteral("verdict"), verdictKey(p.verdict)},
                            {QStringLiteral("status"), p.status},
                            {QStringLiteral("final_url"), finalUrl},
                            {QStringLiteral("confirmed"), c.confirmed}});
  }
  if (!a.jsonPath.isEmpty() && !writeVerbJson(a.jsonPath, QJsonDocument(json), err)) return 1;
  return 0;
}

}  // namespace vorlix
