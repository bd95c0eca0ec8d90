#include "components/ImageList.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <initializer_list>

namespace vorlix {

namespace {

const QStringList& rowImageNames() {
  static const QStringList names = {"folder",    "link",    "root",
                                    "sort-down", "sort-up", "folder-open"};
  return names;
}

const QStringList& commandNames() {
  static const QStringList names = {
      "new",         "open",          "save",          "save-as",
      "delete",      "copy",          "paste",         "edit",
      "add-url",     "refresh",       "find",          "large-icons",
      "list",        "report",        "classic-style", "explorer-style",
      "exit",        "collapse-left", "expand-right",  "preview",
      "help",        "about",         "settings",      "vorlix",
      "new-folder",  "import",        "copy-url",      "browse-new",
      "browse-same", "select-all",    "mail",          "folder",
      "folder-open", "link",          "root",          "undo",
      "redo",        "capture-title", "capture-url"};
  return names;
}

QPixmap render(QSvgRenderer& svg, int px) {
  QPixmap pm(px, px);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  svg.render(&p, QRectF(0, 0, px, px));
  return pm;
}

// Rendered once per name and sizes: the views ask for the same few icons for
// every row they paint. Emptied with the application so no pixmap outlives it.
QIcon cachedIcon(const QString& name, std::initializer_list<int> sizes) {
  static QHash<QString, QIcon> cache;
  static bool hooked = false;
  if (!hooked && QCoreApplication::instance()) {
    hooked = true;
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] {
      cache.clear();
      hooked = false;
    });
  }
  QString key = name;
  for (int px : sizes) key += QLatin1Char('@') + QString::number(px);
  const auto it = cache.constFind(key);
  if (it != cache.constEnd()) return *it;
  QIcon icon;
  QSvgRenderer svg(QStringLiteral(":/icons/%1.svg").arg(name));
  if (svg.isValid()) {
    for (int px : sizes) icon.addPixmap(render(svg, px));
  }
  if (!icon.isNull()) cache.insert(key, icon);
  return icon;
}

}  // namespace

QIcon ImageList::loadIcon(const QString& name, int size) {
  return cachedIcon(name, {size, size * 2});
}

ImageList::ImageList(const QStringList& names, int size) : size_(size) {
  icons_.reserve(names.size());
  for (const QString& n : names) icons_.append(loadIcon(n, size));
}

ImageList ImageList::smallImages() { return ImageList(rowImageNames(), 16); }
ImageList ImageList::largeImages() { return ImageList(rowImageNames(), 32); }
ImageList ImageList::paneToggleImages() {
  return ImageList({QStringLiteral("collapse-left"), QStringLiteral("expand-right"),
                    QStringLiteral("expand-up"), QStringLiteral("collapse-down")},
                   16);
}

QIcon ImageList::icon(int index) const {
  if (index < 0 || index >= icons_.size()) return {};
  return icons_.at(index);
}

QPixmap ImageList::pixmap(int index, qreal devicePixelRatio) const {
  const QIcon ic = icon(index);
  if (ic.isNull()) return {};
  QPixmap pm = ic.pixmap(QSize(size_, size_), devicePixelRatio);
  return pm;
}

QIcon ImageList::commandIcon(const QString& name) {
  if (!commandNames().contains(name)) return {};
  return loadIcon(name, 16);
}

QIcon ImageList::programIcon() {
  // The window, the tray and the About box ask for several sizes.
  return cachedIcon(QStringLiteral("vorlix"), {16, 24, 32, 48, 64, 128});
}

QStringList ImageList::commandIconNames() { return commandNames(); }

}  // namespace vorlix
