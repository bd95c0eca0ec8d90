#pragma once
// A desktop entry's Exec value turned into an argument vector by the
// Desktop Entry quoting rules, never by a shell.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vorlix {

struct ExecToken {
  QString text;
  // The field code letter when the token is nothing but one unquoted field
  // code ("%u"); null otherwise.
  QChar fieldCode;
};

// Splits an Exec value (its string escapes already undone). Blanks separate
// arguments; double quotes group, with \" \` \$ \\ inside them standing for
// the escaped character; single quotes group literally; outside quotes a
// backslash takes the next character as it is. "%%" stands for "%"; an
// unquoted field code inside a longer argument is dropped. Empty when a
// quote is left open.
std::optional<std::vector<ExecToken>> SplitExecLine(const QString& exec);

// The program and its arguments that open `url` in a new window: the first
// %u, %U, %f or %F becomes "--new-window" and the URL, other field codes go.
// Inside flatpak's "@@u ... @@" forwarding brackets "--new-window" goes
// before the bracket so that only the URL is forwarded as a file or URI.
// Without any such code both are appended. Empty for an unusable line.
QStringList NewWindowCommand(const QString& exec, const QString& url);

}  // namespace vorlix
