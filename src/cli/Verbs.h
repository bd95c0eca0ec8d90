#pragma once
// Commands that scripts run without a window: `vorlix --verb ARGS...`.
// Every feature that offers one adds a row to the table in Verbs.cpp; the
// handler gets the arguments after the verb and two streams, and returns
// the exit status.
#include <QStringList>
#include <QTextStream>

namespace vorlix {

struct Verb {
  const char* name;   // with its leading "--"
  const char* usage;  // the arguments, for --help
  const char* about;  // one line
  int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
};

// Whether the command line asks for a verb: its first parameter begins with
// "--". Such a command line never opens a window and is never a URL.
bool isVerbCommandLine(int argc, char** argv);

// Runs the verb the command line names without a window (QCoreApplication).
// An unknown verb prints the list of verbs and returns 2.
int runVerbCommandLine(int argc, char** argv);

// The same on parsed parameters (params[0] is the verb), for tests.
int runVerb(const QStringList& params, QTextStream& out, QTextStream& err);

}  // namespace vorlix
