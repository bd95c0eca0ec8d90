#pragma once
// `vorlix --find-duplicates FILE.ldb [--json OUT]` and
// `vorlix --check-links FILE.ldb [--json OUT]`: the collection's health
// without a window. Both print to `out` and, with --json, write OUT.
#include <QStringList>
#include <QTextStream>

namespace vorlix {

int runFindDuplicatesVerb(const QStringList& args, QTextStream& out, QTextStream& err);
int runCheckLinksVerb(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace vorlix
