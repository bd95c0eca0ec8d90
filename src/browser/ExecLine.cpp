#include "browser/ExecLine.h"

namespace vorlix {

namespace {

bool isSeparator(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isOpenFileCode(QChar c) {
  return c == QLatin1Char('u') || c == QLatin1Char('U') || c == QLatin1Char('f') ||
         c == QLatin1Char('F');
}

}  // namespace

std::optional<std::vector<ExecToken>> SplitExecLine(const QString& exec) {
  std::vector<ExecToken> tokens;
  const qsizetype n = exec.size();
  qsizetype p = 0;
  while (true) {
    while (p < n && isSeparator(exec[p])) ++p;
    if (p >= n) break;
    ExecToken token;
    bool quotedPart = false;
    int codes = 0;       // unquoted field codes met in this token
    QChar lastCode;      // the last of them
    bool other = false;  // anything else in the token
    while (p < n && !isSeparator(exec[p])) {
      const QChar c = exec[p];
      if (c == QLatin1Char('"')) {
        quotedPart = true;
        ++p;
        while (true) {
          if (p >= n) return std::nullopt;
          const QChar q = exec[p];
          if (q == QLatin1Char('"')) {
            ++p;
            break;
          }
          if (q == QLatin1Char('\\') && p + 1 < n &&
              QStringLiteral("\"`$\\").contains(exec[p + 1])) {
            token.text += exec[p + 1];
            p += 2;
            continue;
          }
          if (q == QLatin1Char('%') && p + 1 < n && exec[p + 1] == QLatin1Char('%')) {
            token.text += QLatin1Char('%');
            p += 2;
            continue;
          }
          token.text += q;
          ++p;
        }
      } else if (c == QLatin1Char('\'')) {
        quotedPart = true;
        const qsizetype close = exec.indexOf(QLatin1Char('\''), p + 1);
        if (close < 0) return std::nullopt;
        token.text += exec.mid(p + 1, close - p - 1);
        p = close + 1;
      } else if (c == QLatin1Char('\\') && p + 1 < n) {
        token.text += exec[p + 1];
        other = true;
        p += 2;
      } else if (c == QLatin1Char('%') && p + 1 < n) {
        const QChar code = exec[p + 1];
        p += 2;
        if (code == QLatin1Char('%')) {
          token.text += QLatin1Char('%');
          other = true;
        } else {
          ++codes;
          lastCode = code;
        }
      } else {
        token.text += c;
        other = true;
        ++p;
      }
    }
    if (codes == 1 && !other && !quotedPart) {
      token.fieldCode = lastCode;
    } else if (codes > 0 && token.text.isEmpty() && !quotedPart) {
      continue;  // only field codes: nothing to pass
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

QStringList NewWindowCommand(const QString& exec, const QString& url) {
  const auto tokens = SplitExecLine(exec);
  if (!tokens) return {};
  QStringList args;
  bool placed = false;
  for (const ExecToken& t : *tokens) {
    if (t.fieldCode.isNull()) {
      args << t.text;
      continue;
    }
    if (placed || !isOpenFileCode(t.fieldCode)) continue;
    if (args.isEmpty()) return {};  // a field code where the program belongs
    const bool inForwarding = args.size() > 1 && (args.last() == QLatin1String("@@u") ||
                                                  args.last() == QLatin1String("@@"));
    args.insert(inForwarding ? args.size() - 1 : args.size(), QStringLiteral("--new-window"));
    args << url;
    placed = true;
  }
  if (args.isEmpty() || args.first().isEmpty()) return {};
  if (!placed) args << QStringLiteral("--new-window") << url;
  return args;
}

}  // namespace vorlix
