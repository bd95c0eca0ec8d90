#pragma once
// The arguments both health verbs take: FILE.ldb [--json OUT].
#include <QJsonDocument>
#include <QStringList>
#include <QTextStream>

#include "store/LinkList.h"

namespace vorlix {

struct HealthVerbArgs {
  QString database;
  QString jsonPath;  // empty: no JSON file
};

// False (after telling `err`) when the arguments do not fit.
bool parseHealthVerbArgs(const QStringList& args, const char* verb, HealthVerbArgs& parsed,
                         QTextStream& err);
// False (after telling `err`) when the database cannot be read.
bool loadForVerb(const QString& path, LinkList& out, QTextStream& err);
// Writes the JSON file whole or not at all; false (after telling `err`)
// when it cannot be written.
bool writeVerbJson(const QString& path, const QJsonDocument& json, QTextStream& err);

}  // namespace vorlix
