#pragma once
// `vorlix --sync FILE.ldb [--to TARGET] [--allow-deletions]`: one sync
// without a window, for timers and cron.
#include <QStringList>
#include <QTextStream>

namespace vorlix::sync {

int runSyncVerb(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace vorlix::sync
