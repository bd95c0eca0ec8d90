#pragma once
// The command line's two meanings: a database to open (`vorlix FILE.ldb`,
// as a file manager starts the program), or a URL and a description for a
// new link.
#include <QString>
#include <QStringList>

namespace vorlix {

// The absolute path of the first parameter when it names an existing file
// ending in ".ldb" (any letter case); empty otherwise, and then the
// parameters keep their URL and description meaning.
QString databaseArgument(const QStringList& params);

// What a second start hands over: with a database, its absolute path alone
// (the running copy does not share this one's working folder).
QStringList handOverParams(const QStringList& params);

}  // namespace vorlix
