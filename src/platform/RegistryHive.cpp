#include "platform/RegistryHive.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>

namespace vorlix {
namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");
const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// True when `path` is `ancestor` or lies below it.
bool isWithin(const QString& path, const QString& ancestor) {
  if (path.size() == ancestor.size()) return sameName(path, ancestor);
  return path.size() > ancestor.size() && path.at(ancestor.size()) == QLatin1Char('\\') &&
         sameName(path.left(ancestor.size()), ancestor);
}

// A lone surrogate would not survive being written back as UTF-8.
QString withoutLoneSurrogates(QString s) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
      ++i;
    else if (s.at(i).isSurrogate())
      s[i] = QChar::ReplacementCharacter;
  }
  return s;
}

QString decodeText(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE")) {
    QStringDecoder utf16(QStringDecoder::Utf16LE);
    return withoutLoneSurrogates(utf16(bytes.mid(2)));
  }
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
  return QString::fromUtf8(bytes);
}

QString quote(const QString& s) {
  QString out;
  out.reserve(s.size() + 2);
  out += QLatin1Char('"');
  for (QChar c : s) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('"')) out += QLatin1Char('\\');
    out += c;
  }
  out += QLatin1Char('"');
  return out;
}

// Reads a quoted string starting at `pos` (on the opening quote); leaves
// `pos` after the closing quote. False when the quote is not closed.
bool unquote(const QString& line, qsizetype& pos, QString& out) {
  out.clear();
  for (qsizetype i = pos + 1; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (c == QLatin1Char('\\') && i + 1 < line.size()) {
      out += line.at(++i);
    } else if (c == QLatin1Char('"')) {
      pos = i + 1;
      return true;
    } else {
      out += c;
    }
  }
  return false;
}

// A line break or other control character cannot stand inside a quoted
// string of the export format, and a lone surrogate does not survive UTF-8;
// such text is written in its hex(1) form, which keeps every UTF-16 unit.
bool needsHex(const QString& s) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (c.unicode() < 0x20) return true;
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
      ++i;
      continue;
    }
    if (c.isSurrogate()) return true;
  }
  return false;
}

QString hexString(const QString& s) {
  QString out = QStringLiteral("hex(1):");
  auto byte = [&out](unsigned v) {
    if (!out.endsWith(QLatin1Char(':'))) out += QLatin1Char(',');
    out += QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'));
  };
  for (QChar c : s) {
    byte(c.unicode() & 0xFF);
    byte(c.unicode() >> 8);
  }
  byte(0);
  byte(0);
  return out;
}

bool parseHexString(const QString& data, QString& out) {
  const QString body = data.mid(data.indexOf(QLatin1Char(':')) + 1);
  QByteArray bytes;
  for (const QString& part : body.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    const uint v = part.trimmed().toUInt(&ok, 16);
    if (!ok || v > 0xFF) return false;
    bytes.append(char(v));
  }
  if (bytes.size() % 2) return false;
  // Unit by unit rather than through a decoder, which would replace lone
  // surrogates.
  out.clear();
  out.reserve(bytes.size() / 2);
  for (qsizetype i = 0; i < bytes.size(); i += 2)
    out += QChar(char16_t(uchar(bytes.at(i)) | uchar(bytes.at(i + 1)) << 8));
  if (out.endsWith(QChar(0))) out.chop(1);  // the terminator
  return true;
}

RegValue parseData(const QString& name, const QString& data) {
  RegValue v;
  v.name = name;
  if (data.startsWith(QLatin1Char('"'))) {
    qsizetype pos = 0;
    if (unquote(data, pos, v.text) && data.mid(pos).trimmed().isEmpty()) return v;
  } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
    const QString digits = data.mid(6).trimmed();
    bool ok = false;
    const uint n = digits.toUInt(&ok, 16);
    if (ok && digits.size() <= 8) {
      v.type = RegType::Integer;
      v.number = qint32(n);
      return v;
    }
  } else if (data.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive)) {
    if (parseHexString(data, v.text)) return v;
  }
  v.type = RegType::Other;
  v.text = data;
  return v;
}

QString keyPart(const QString& key) {
  return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

}  // namespace

RegValue RegValue::string(const QString& name, const QString& text) {
  RegValue v;
  v.name = name;
  v.type = RegType::String;
  v.text = text;
  return v;
}

RegValue RegValue::integer(const QString& name, qint32 number) {
  RegValue v;
  v.name = name;
  v.type = RegType::Integer;
  v.number = number;
  return v;
}

QString RegistryHive::sectionName(const QString& key) {
  const QString rel = keyPart(key);
  return rel.isEmpty() ? kRoot : kRoot + QLatin1Char('\\') + rel;
}

// Lines that cannot continue hex data: a section or the next value.
bool startsEntry(const QString& line) {
  return line.startsWith(QLatin1Char('[')) || line.startsWith(QLatin1Char('"')) ||
         line.startsWith(QLatin1Char('@'));
}

RegistryHive RegistryHive::parse(const QByteArray& bytes) {
  RegistryHive hive;
  const QStringList lines = decodeText(bytes).split(QLatin1Char('\n'));
  // Keys and values by folded name: a large file must not cost a scan of
  // all earlier keys per line.
  QHash<QString, size_t> keyIndex;
  QHash<QString, size_t> valueIndex;  // key index, NUL, folded value name
  Key* current = nullptr;
  size_t currentIndex = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QString line = lines.at(i).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line == kHeader ||
        line == QLatin1String("REGEDIT4"))
      continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      const QString path = keyPart(line.mid(1, line.size() - 2));
      current = nullptr;
      if (path.startsWith(QLatin1Char('-'))) continue;  // a deletion entry of an import file
      const QString folded = path.toCaseFolded();
      const auto known = keyIndex.constFind(folded);
      if (known == keyIndex.cend()) {
        currentIndex = hive.keys_.size();
        keyIndex.insert(folded, currentIndex);
        hive.keys_.push_back({path, {}});
      } else {
        currentIndex = known.value();
      }
      current = &hive.keys_[currentIndex];
      continue;
    }
    if (!current) continue;
    QString name;
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
      pos = 1;
    } else if (!line.startsWith(QLatin1Char('"')) || !unquote(line, pos, name)) {
      continue;
    }
    while (pos < line.size() && line.at(pos).isSpace()) ++pos;
    if (pos >= line.size() || line.at(pos) != QLatin1Char('=')) continue;
    QString data = line.mid(pos + 1).trimmed();
    // Hex data may go on over several lines, each but the last ending in '\'.
    // A '\' with no continuation line (end of file, or a line that starts
    // something else) is dropped: kept, it would swallow the line written
    // after this value next time. The blanks before a dropped '\' go too,
    // or the next read would trim them and the value change on every write.
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
      while (data.endsWith(QLatin1Char('\\'))) {
        data.chop(1);
        while (!data.isEmpty() && data.back().isSpace()) data.chop(1);
        if (i + 1 < lines.size() && !startsEntry(lines.at(i + 1).trimmed()))
          data += lines.at(++i).trimmed();
      }
    }
    if (data == QLatin1String("-")) continue;  // a deletion entry of an import file
    const RegValue v = parseData(name, data);
    const QString valueKey = QString::number(currentIndex) + QChar(0) + name.toCaseFolded();
    const auto same = valueIndex.constFind(valueKey);
    if (same == valueIndex.cend()) {
      valueIndex.insert(valueKey, current->values.size());
      current->values.push_back(v);
    } else {
      current->values[same.value()] = v;
    }
  }
  return hive;
}

QByteArray RegistryHive::serialize() const {
  QString out = kHeader + QStringLiteral("\n\n");
  for (const Key& k : keys_) {
    out += QLatin1Char('[') + k.path + QStringLiteral("]\n");
    for (const RegValue& v : k.values) {
      out += v.name.isEmpty() ? QStringLiteral("@") : quote(v.name);
      out += QLatin1Char('=');
      switch (v.type) {
        case RegType::String:
          out += needsHex(v.text) ? hexString(v.text) : quote(v.text);
          break;
        case RegType::Integer:
          out += QStringLiteral("dword:%1").arg(quint32(v.number), 8, 16, QLatin1Char('0'));
          break;
        case RegType::Other:
          out += v.text;
          break;
      }
      out += QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
  }
  return out.toUtf8();
}

bool RegValue::operator==(const RegValue& o) const {
  if (name != o.name || type != o.type) return false;
  return type == RegType::Integer ? number == o.number : text == o.text;
}

bool RegistryHive::operator==(const RegistryHive& o) const {
  return std::equal(
      keys_.begin(), keys_.end(), o.keys_.begin(), o.keys_.end(),
      [](const Key& a, const Key& b) { return a.path == b.path && a.values == b.values; });
}

RegistryHive::Key* RegistryHive::find(const QString& section) {
  auto it = std::find_if(keys_.begin(), keys_.end(),
                         [&](const Key& k) { return sameName(k.path, section); });
  return it == keys_.end() ? nullptr : &*it;
}

const RegistryHive::Key* RegistryHive::find(const QString& section) const {
  return const_cast<RegistryHive*>(this)->find(section);
}

bool RegistryHive::keyExists(const QString& key) const {
  const QString section = sectionName(key);
  if (section == kRoot) return true;
  return std::any_of(keys_.begin(), keys_.end(),
                     [&](const Key& k) { return isWithin(k.path, section); });
}

void RegistryHive::createKey(const QString& key) {
  const QStringList parts = keyPart(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  QString path = kRoot;
  for (const QString& part : parts) {
    path += QLatin1Char('\\') + part;
    if (!find(path)) keys_.push_back({path, {}});
  }
}

bool RegistryHive::deleteKey(const QString& key) {
  const QString section = sectionName(key);
  if (section == kRoot) return false;
  const auto before = keys_.size();
  keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                             [&](const Key& k) { return isWithin(k.path, section); }),
              keys_.end());
  return keys_.size() != before;
}

QStringList RegistryHive::subKeyNames(const QString& key) const {
  const QString section = sectionName(key);
  QStringList names;
  for (const Key& k : keys_) {
    if (k.path.size() <= section.size() || !isWithin(k.path, section)) continue;
    const QString child = k.path.mid(section.size() + 1).section(QLatin1Char('\\'), 0, 0);
    if (!names.contains(child, Qt::CaseInsensitive)) names << child;
  }
  return names;
}

const RegValue* RegistryHive::value(const QString& key, const QString& name) const {
  const Key* k = find(sectionName(key));
  if (!k) return nullptr;
  auto it = std::find_if(k->values.begin(), k->values.end(),
                         [&](const RegValue& v) { return sameName(v.name, name); });
  return it == k->values.end() ? nullptr : &*it;
}

QStringList RegistryHive::valueNames(const QString& key) const {
  QStringList names;
  if (const Key* k = find(sectionName(key)))
    for (const RegValue& v : k->values) names << v.name;
  return names;
}

void RegistryHive::setValue(const QString& key, const RegValue& v) {
  createKey(key);
  Key* k = find(sectionName(key));
  auto it = std::find_if(k->values.begin(), k->values.end(),
                         [&](const RegValue& o) { return sameName(o.name, v.name); });
  if (it == k->values.end()) {
    k->values.push_back(v);
  } else {
    const QString spelling = it->name;  // Windows keeps the first spelling of a name
    *it = v;
    it->name = spelling;
  }
}

bool RegistryHive::deleteValue(const QString& key, const QString& name) {
  Key* k = find(sectionName(key));
  if (!k) return false;
  auto it = std::find_if(k->values.begin(), k->values.end(),
                         [&](const RegValue& v) { return sameName(v.name, name); });
  if (it == k->values.end()) return false;
  k->values.erase(it);
  return true;
}

}  // namespace vorlix
