#include "editing/LinkMime.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include "store/HtmlText.h"

namespace vorlix {
namespace {

// Clipboard HTML can be a whole page; anchors past this are not looked at.
constexpr qsizetype kMaxHtml = 4 << 20;

QStringList lines(const QString& text) {
  QStringList out = text.split(QLatin1Char('\n'));
  for (QString& l : out)
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  return out;
}

// "scheme://..." or "mailto:...": what a line must look like to be taken
// as a link from plain text.
bool looksLikeUrl(const QString& s) {
  static const QRegularExpression re(
      QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://\\S+$|^mailto:\\S+$"),
      QRegularExpression::CaseInsensitiveOption);
  return re.match(s).hasMatch();
}

enum class Utf16 { No, Le, Be };

Utf16 utf16Kind(const QByteArray& d) {
  if (d.size() >= 2) {
    if (uchar(d[0]) == 0xFF && uchar(d[1]) == 0xFE) return Utf16::Le;
    if (uchar(d[0]) == 0xFE && uchar(d[1]) == 0xFF) return Utf16::Be;
  }
  if (d.size() < 2) return Utf16::No;
  // Without a mark: text that is mostly ASCII has a zero in every other
  // byte, which UTF-8 text never has.
  qsizetype zeroOdd = 0, zeroEven = 0;
  const qsizetype pairs = d.size() / 2;
  for (qsizetype i = 0; i + 1 < d.size(); i += 2) {
    if (d[i] == 0) ++zeroEven;
    if (d[i + 1] == 0) ++zeroOdd;
  }
  if (zeroOdd * 2 >= pairs && zeroOdd > zeroEven) return Utf16::Le;
  if (zeroEven * 2 >= pairs && zeroEven > zeroOdd) return Utf16::Be;
  return Utf16::No;
}

// The text of an anchor's content: tags dropped (a '<' that no '>' closes
// stays as text), references decoded, white space simplified.
QString plainText(QStringView html) {
  QString t;
  t.reserve(html.size());
  for (qsizetype i = 0; i < html.size(); ++i) {
    if (html[i] != QLatin1Char('<')) {
      t += html[i];
      continue;
    }
    const qsizetype close = html.indexOf(QLatin1Char('>'), i + 1);
    if (close < 0) {
      t += html.mid(i);
      break;
    }
    i = close;
  }
  return decodeHtml(t).simplified();
}

bool isHtmlSpace(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
         c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// One pass over clipboard HTML, every character looked at a bounded number
// of times: a pattern with backtracking took minutes on an unclosed
// attribute of a few hundred KiB. Anchors are <a ...> tags whose content
// runs to the next </a>; attribute values may be quoted.
class AnchorScanner {
 public:
  explicit AnchorScanner(QStringView html) : s_(html) {}

  // The next anchor that has an href; false when there is none.
  bool next(QStringView& href, QStringView& content) {
    for (;;) {
      const qsizetype open = s_.indexOf(QLatin1String("<a"), pos_, Qt::CaseInsensitive);
      if (open < 0 || open + 2 >= s_.size()) return false;
      pos_ = open + 2;
      if (!isHtmlSpace(s_[pos_])) continue;  // <abbr>, <a>
      bool hasHref = false;
      // A tag or quote left open runs to the end: no anchor can follow.
      if (!readTag(hasHref, href)) return false;
      if (!hasHref) continue;
      const qsizetype start = pos_;
      for (;;) {
        const qsizetype close = s_.indexOf(QLatin1String("</a"), pos_, Qt::CaseInsensitive);
        if (close < 0) return false;  // nor can any later anchor be closed
        qsizetype k = close + 3;
        while (k < s_.size() && isHtmlSpace(s_[k])) ++k;
        if (k < s_.size() && s_[k] == QLatin1Char('>')) {
          content = s_.mid(start, close - start);
          pos_ = k + 1;
          return true;
        }
        pos_ = close + 3;
      }
    }
  }

 private:
  // Reads the attributes from pos_ up to and past the tag's '>'; `href`
  // gets the first href value. False when the tag does not end.
  bool readTag(bool& hasHref, QStringView& href) {
    const qsizetype n = s_.size();
    for (;;) {
      while (pos_ < n && (isHtmlSpace(s_[pos_]) || s_[pos_] == QLatin1Char('/'))) ++pos_;
      if (pos_ >= n) return false;
      if (s_[pos_] == QLatin1Char('>')) {
        ++pos_;
        return true;
      }
      const qsizetype nameStart = pos_;
      while (pos_ < n && !isHtmlSpace(s_[pos_]) && s_[pos_] != QLatin1Char('=') &&
             s_[pos_] != QLatin1Char('>'))
        ++pos_;
      const QStringView name = s_.mid(nameStart, pos_ - nameStart);
      while (pos_ < n && isHtmlSpace(s_[pos_])) ++pos_;
      if (pos_ >= n || s_[pos_] != QLatin1Char('=')) continue;
      ++pos_;
      while (pos_ < n && isHtmlSpace(s_[pos_])) ++pos_;
      if (pos_ >= n) return false;
      QStringView value;
      const QChar q = s_[pos_];
      if (q == QLatin1Char('"') || q == QLatin1Char('\'')) {
        const qsizetype end = s_.indexOf(q, pos_ + 1);
        if (end < 0) return false;
        value = s_.mid(pos_ + 1, end - pos_ - 1);
        pos_ = end + 1;
      } else {
        const qsizetype start = pos_;
        while (pos_ < n && !isHtmlSpace(s_[pos_]) && s_[pos_] != QLatin1Char('>')) ++pos_;
        value = s_.mid(start, pos_ - start);
      }
      if (!hasHref && name.compare(QLatin1String("href"), Qt::CaseInsensitive) == 0) {
        hasHref = true;
        href = value;
      }
    }
  }

  QStringView s_;
  qsizetype pos_ = 0;
};

}  // namespace

QString DecodeMimeText(const QByteArray& data) {
  QString text;
  switch (utf16Kind(data)) {
    case Utf16::Le:
      text = QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless)(data);
      break;
    case Utf16::Be:
      text = QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless)(data);
      break;
    case Utf16::No:
      text = QString::fromUtf8(data);
      break;
  }
  // The decoders keep a byte order mark; senders often end with a zero.
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  while (text.endsWith(QChar(0))) text.chop(1);
  return text;
}

std::vector<ForeignLink> LinksFromMozUrl(const QByteArray& data) {
  const QStringList ls = lines(DecodeMimeText(data));
  std::vector<ForeignLink> out;
  for (qsizetype i = 0; i < ls.size(); i += 2) {
    const QString url = ls[i].trimmed();
    if (url.isEmpty()) continue;
    out.push_back({url, i + 1 < ls.size() ? ls[i + 1].simplified() : QString()});
  }
  return out;
}

std::vector<ForeignLink> LinksFromUriList(const QByteArray& data) {
  std::vector<ForeignLink> out;
  for (const QString& l : lines(DecodeMimeText(data))) {
    const QString url = l.trimmed();
    if (url.isEmpty() || url.startsWith(QLatin1Char('#'))) continue;
    out.push_back({url, {}});
  }
  return out;
}

std::vector<ForeignLink> LinksFromHtml(const QString& html) {
  std::vector<ForeignLink> out;
  AnchorScanner scanner(QStringView(html).left(kMaxHtml));
  QStringView rawHref, content;
  while (scanner.next(rawHref, content)) {
    const QString href = decodeHtml(rawHref.toString()).trimmed();
    // A relative address cannot be followed without the page it was on.
    if (href.isEmpty() || QUrl(href).scheme().isEmpty()) continue;
    out.push_back({href, plainText(content)});
  }
  return out;
}

std::vector<ForeignLink> LinksFromPlainText(const QString& text) {
  std::vector<ForeignLink> out;
  for (const QString& l : lines(text)) {
    const QString url = l.trimmed();
    if (url.isEmpty()) continue;
    if (!looksLikeUrl(url)) return {};  // prose, not a list of links
    out.push_back({url, {}});
  }
  return out;
}

std::vector<ForeignLink> LinksFromMime(const QMimeData& mime) {
  std::vector<ForeignLink> links;
  const QString moz = QString::fromLatin1(kMozUrlFormat);
  const QString netscape = QString::fromLatin1(kNetscapeUrlFormat);
  if (mime.hasFormat(moz)) links = LinksFromMozUrl(mime.data(moz));
  if (links.empty() && mime.hasFormat(netscape)) links = LinksFromMozUrl(mime.data(netscape));
  if (links.empty() && mime.hasFormat(QString::fromLatin1(kUriListFormat)))
    links = LinksFromUriList(mime.data(QString::fromLatin1(kUriListFormat)));
  if (links.empty() && mime.hasFormat(QString::fromLatin1(kHtmlFormat)))
    links = LinksFromHtml(DecodeMimeText(mime.data(QString::fromLatin1(kHtmlFormat))));
  if (links.empty() && mime.hasText()) links = LinksFromPlainText(mime.text());
  return links;
}

void PutLinksOnMime(QMimeData& mime, const std::vector<ForeignLink>& links,
                    const QByteArray& ownMark) {
  QString moz, plain, html;
  QByteArray uriList;
  for (const ForeignLink& l : links) {
    if (!moz.isEmpty()) moz += QLatin1Char('\n');
    moz += l.url + QLatin1Char('\n') + l.title;
    plain += l.url + QLatin1Char('\n');
    uriList += QUrl(l.url, QUrl::TolerantMode).toEncoded() + "\r\n";
    if (!html.isEmpty()) html += QStringLiteral("<br>\n");
    html += QStringLiteral("<a href=\"") + l.url.toHtmlEscaped() + QStringLiteral("\">") +
            (l.title.isEmpty() ? l.url : l.title).toHtmlEscaped() + QStringLiteral("</a>");
  }
  // Firefox writes this format in UTF-16, host order, without a mark.
  const QByteArray mozBytes(reinterpret_cast<const char*>(moz.utf16()), moz.size() * 2);
  mime.setData(QString::fromLatin1(kMozUrlFormat), mozBytes);
  mime.setData(QString::fromLatin1(kNetscapeUrlFormat), moz.toUtf8());
  mime.setData(QString::fromLatin1(kUriListFormat), uriList);
  mime.setHtml(html);
  mime.setText(plain);
  if (!ownMark.isEmpty()) mime.setData(QString::fromLatin1(kOwnCopyFormat), ownMark);
}

bool OffersLinks(const QMimeData& mime) {
  for (const char* format : {kMozUrlFormat, kNetscapeUrlFormat, kUriListFormat, kHtmlFormat})
    if (mime.hasFormat(QString::fromLatin1(format))) return true;
  return mime.hasText();
}

bool IsOwnCopy(const QMimeData& mime, const QByteArray& ownMark) {
  // Only our own small mark is fetched, never the other formats' data.
  const QString format = QString::fromLatin1(kOwnCopyFormat);
  return !ownMark.isEmpty() && mime.hasFormat(format) && mime.data(format) == ownMark;
}

}  // namespace vorlix
