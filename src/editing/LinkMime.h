#pragma once
// Links as other programs hand them over by drag and drop and the
// clipboard, and the same formats for links going out.
#include <QByteArray>
#include <QString>
#include <vector>

class QMimeData;

namespace vorlix {

struct ForeignLink {
  QString url;
  QString title;  // empty when the format carries none
  bool operator==(const ForeignLink&) const = default;
};

inline constexpr char kMozUrlFormat[] = "text/x-moz-url";
inline constexpr char kNetscapeUrlFormat[] = "_NETSCAPE_URL";
inline constexpr char kUriListFormat[] = "text/uri-list";
inline constexpr char kHtmlFormat[] = "text/html";
inline constexpr char kPlainFormat[] = "text/plain";
// Marks a copy made by this program; its value says which copy.
inline constexpr char kOwnCopyFormat[] = "application/x-vorlix-copy";

// The links `mime` offers, from the first of these formats that holds any:
// text/x-moz-url (UTF-16 or UTF-8, url and title lines), _NETSCAPE_URL
// (the same in UTF-8; X11 gives the title only here), text/uri-list, the
// <a href> anchors of text/html, and text/plain when every line of it is a
// URL. Empty when there is none.
std::vector<ForeignLink> LinksFromMime(const QMimeData& mime);

// Puts `links` on `mime` in all of those formats, and `ownMark` (when not
// empty) so that a paste here can tell its own copy.
void PutLinksOnMime(QMimeData& mime, const std::vector<ForeignLink>& links,
                    const QByteArray& ownMark = {});

// Whether `mime` offers a format that may hold links, judged by the format
// names alone: nothing is fetched or decoded, so it is cheap enough for
// each clipboard change and each drag move.
bool OffersLinks(const QMimeData& mime);

// True when `mime` carries this program's copy marked `ownMark`.
bool IsOwnCopy(const QMimeData& mime, const QByteArray& ownMark);

// Decoding of the single formats, for the tests and for callers that hold
// raw bytes.
std::vector<ForeignLink> LinksFromMozUrl(const QByteArray& data);
std::vector<ForeignLink> LinksFromUriList(const QByteArray& data);
std::vector<ForeignLink> LinksFromHtml(const QString& html);
std::vector<ForeignLink> LinksFromPlainText(const QString& text);
// Text of a format that may be UTF-16 (with or without a byte order mark)
// or UTF-8 (with or without one).
QString DecodeMimeText(const QByteArray& data);

}  // namespace vorlix
