#include "platform/ProfileStrings.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/ConfigFile.h"
#include "platform/FileLock.h"

namespace vorlix {
namespace {

constexpr std::string_view kIniSection = "VorlixsPaths";
constexpr std::string_view kIniKey = "Vorlixs.exe";
constexpr int kIniBuffer = 256;
constexpr std::string_view kShortcutSection = "InternetShortcut";
constexpr std::string_view kShortcutKey = "URL";
constexpr int kShortcutBuffer = 2048;
// A shortcut is a few hundred bytes; a huge file named *.url is not one.
constexpr qint64 kShortcutMaxBytes = 1 << 20;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Letter case is ignored the way the code page's letters fold, not only a-z.
bool sameName(std::string_view a, std::string_view b) {
  return fromAnsi(a).compare(fromAnsi(b), Qt::CaseInsensitive) == 0;
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct Line {
  std::string_view text;  // without its line end
  std::string_view end;   // "\r\n", "\n", "\r", or "" for the last line
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // entry value, trimmed
  bool hasValue = false;   // a key line without '=' has none
};

std::vector<Line> splitLines(std::string_view content) {
  std::vector<Line> lines;
  while (!content.empty()) {
    Line line;
    // CR LF, LF and a lone CR each end a line: the writer's closeLast counts
    // a CR as an end too, so a value put after one reads back.
    const size_t eol = content.find_first_of("\r\n");
    line.text = content.substr(0, eol);
    if (eol == std::string_view::npos) {
      content = {};
    } else {
      const size_t width = content.compare(eol, 2, "\r\n") == 0 ? 2 : 1;
      line.end = content.substr(eol, width);
      content.remove_prefix(eol + width);
    }
    const std::string_view raw = line.text;
    const std::string_view t = trim(raw);
    if (t.empty()) {
      line.kind = LineKind::Blank;
    } else if (t.front() == ';') {
      line.kind = LineKind::Comment;
    } else if (t.front() == '[') {
      line.kind = LineKind::Section;
      const size_t close = t.find(']');
      line.name = trim(t.substr(1, close == std::string_view::npos ? t.npos : close - 1));
    } else {
      line.kind = LineKind::Entry;
      const size_t eq = t.find('=');
      line.name = trim(t.substr(0, eq));
      if (eq != std::string_view::npos) {
        line.value = trim(t.substr(eq + 1));
        line.hasValue = true;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

// Index range [first, last) of the entries of the first section named
// `section`; first == npos when there is no such section.
struct SectionRange {
  size_t header = std::string_view::npos;
  size_t end = 0;
};

SectionRange findSection(const std::vector<Line>& lines, std::string_view section) {
  SectionRange r;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section) continue;
    if (r.header != std::string_view::npos) {
      r.end = i;
      return r;
    }
    if (sameName(lines[i].name, section)) r.header = i;
  }
  r.end = lines.size();
  return r;
}

AnsiString cut(std::string_view s, int bufferSize) {
  if (bufferSize <= 0) return {};
  return AnsiString(s.substr(0, size_t(bufferSize - 1)));
}

std::string_view toView(const QByteArray& b) { return {b.constData(), size_t(b.size())}; }

QByteArray fromView(std::string_view s) { return QByteArray(s.data(), qsizetype(s.size())); }

}  // namespace

AnsiString profileStringIn(const QByteArray& content, std::string_view section,
                           std::string_view key, std::string_view defaultValue, int bufferSize) {
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  const std::vector<Line> lines = splitLines(toView(content));
  const SectionRange r = findSection(lines, section);
  if (r.header == std::string_view::npos) return cut(defaultValue, bufferSize);
  for (size_t i = r.header + 1; i < r.end; ++i) {
    const Line& l = lines[i];
    if (l.kind != LineKind::Entry || !sameName(l.name, key)) continue;
    if (!l.hasValue) break;
    std::string_view v = l.value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    return cut(v, bufferSize);
  }
  return cut(defaultValue, bufferSize);
}

QByteArray withProfileString(const QByteArray& content, std::string_view section,
                             std::string_view key, std::string_view value) {
  const std::vector<Line> lines = splitLines(toView(content));
  // New lines follow the file's own line ends; CR LF where it has none yet.
  const bool crlf = content.contains("\r\n") || !content.contains('\n');
  const std::string_view eol = crlf ? "\r\n" : "\n";
  const SectionRange r = findSection(lines, section);

  QByteArray out;
  out.reserve(content.size() + qsizetype(section.size() + key.size() + value.size()) + 8);
  auto put = [&](const Line& l) {
    out += fromView(l.text);
    out += fromView(l.end);
  };
  auto entry = [&](std::string_view name) {
    out += fromView(name);
    out += '=';
    out += fromView(value);
    out += fromView(eol);
  };
  // The last line may lack its line end; one is needed before anything follows.
  auto closeLast = [&] {
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += fromView(eol);
  };

  if (r.header == std::string_view::npos) {
    for (const Line& l : lines) put(l);
    closeLast();
    if (!out.isEmpty() && !lines.empty() && lines.back().kind != LineKind::Blank)
      out += fromView(eol);
    out += '[';
    out += fromView(section);
    out += ']';
    out += fromView(eol);
    entry(key);
    return out;
  }

  size_t lastEntry = r.header;
  size_t match = std::string_view::npos;
  for (size_t i = r.header + 1; i < r.end; ++i) {
    if (lines[i].kind == LineKind::Entry || lines[i].kind == LineKind::Comment) lastEntry = i;
    if (match == std::string_view::npos && lines[i].kind == LineKind::Entry &&
        sameName(lines[i].name, key))
      match = i;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == match) {
      entry(lines[i].name);  // the key keeps its spelling
      continue;
    }
    put(lines[i]);
    if (match == std::string_view::npos && i == lastEntry) {
      closeLast();
      entry(key);
    }
  }
  return out;
}

AnsiString readProfileString(const QString& file, std::string_view section, std::string_view key,
                             std::string_view defaultValue, int bufferSize) {
  QByteArray content;
  if (!readConfigFile(file, content)) content.clear();
  return profileStringIn(content, section, key, defaultValue, bufferSize);
}

bool writeProfileString(const QString& file, std::string_view section, std::string_view key,
                        std::string_view value, QString* error) {
  if (value.find_first_of("\r\n") != std::string_view::npos) {
    if (error) *error = QStringLiteral("A profile value cannot hold a line break");
    return false;
  }
  QDir().mkpath(QFileInfo(file).absolutePath());
  QLockFile lock(file + QStringLiteral(".lock"));
  if (!takeFileLock(lock, 5000)) {
    if (error) *error = QStringLiteral("The file %1 is locked").arg(file);
    return false;
  }
  QByteArray content;
  if (!readConfigFile(file, content, kConfigFileMaxBytes, nullptr, error)) return false;
  const QByteArray out = withProfileString(content, section, key, value);
  // What a read finds afterwards must be what this value gives in a file of
  // its own; a section or key name the file format cannot hold fails here.
  QByteArray alone = "[" + fromView(section) + "]\r\n";
  alone += fromView(key) + "=" + fromView(value) + "\r\n";
  // A line break never comes back from a read: it marks "not found".
  const int whole = int(value.size()) + 1;
  const AnsiString readBack = profileStringIn(out, section, key, "\n", whole);
  if (readBack == "\n" || readBack != profileStringIn(alone, section, key, "\n", whole)) {
    if (error) *error = QStringLiteral("The value cannot be stored in the file %1").arg(file);
    return false;
  }
  return writeFileAtomically(file, out, error);
}

QString vorlixsIniPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Vorlix/Vorlixs.ini");
}

QString readRememberedOpenFolder() {
  return fromAnsi(readProfileString(vorlixsIniPath(), kIniSection, kIniKey, "", kIniBuffer));
}

bool writeRememberedOpenFolder(const QString& folder) {
  QString value = folder;
  if (!value.isEmpty() && !value.endsWith(QLatin1Char('/'))) value += QLatin1Char('/');
  return writeProfileString(vorlixsIniPath(), kIniSection, kIniKey, storedBytes(toAnsi(value)));
}

AnsiString readShortcutUrl(const QString& urlFile) {
  QByteArray content;
  if (!readWholeFile(urlFile, content, nullptr, nullptr, kShortcutMaxBytes)) content.clear();
  return profileStringIn(content, kShortcutSection, kShortcutKey, "", kShortcutBuffer);
}

}  // namespace vorlix
