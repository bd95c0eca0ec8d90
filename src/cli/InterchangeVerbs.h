#pragma once
// The command-line verbs that move bookmarks in and out of a database:
// --list-browsers, --import-browser, --import and --export.
#include <QStringList>
#include <QTextStream>

namespace vorlix {

int ListBrowsersVerb(const QStringList& args, QTextStream& out, QTextStream& err);
int ImportBrowserVerb(const QStringList& args, QTextStream& out, QTextStream& err);
int ImportFileVerb(const QStringList& args, QTextStream& out, QTextStream& err);
int ExportFileVerb(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace vorlix
