#pragma once
// The program's image lists: the small (16 px) and large (32 px) row and tree
// images, the folder-pane and preview toggle pairs and the named command icons, all drawn
// from the SVG set under the ":/icons" resource prefix.
//
// The resource file is linked into the main window's library, so whoever
// builds the executable (or a test) calls Q_INIT_RESOURCE(vorlix) once before
// the first icon is asked for.
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace vorlix {

// Image indices the tree, the list and the header arrows agree on.
enum ImageIndex : int {
  imgFolder = 0,
  imgLink = 1,
  imgRoot = 2,
  imgSortDown = 3,  // shown while sorting ascending
  imgSortUp = 4,    // shown while sorting descending
  imgFolderOpen = 5,
};

// Images of the folder-pane toggle button and of the preview-pane switch.
enum PaneToggleImage : int {
  imgPaneVisible = 0,
  imgPaneHidden = 1,
  imgPreviewHidden = 2,
  imgPreviewShown = 3,
};

class ImageList {
 public:
  // An empty list: a view given it behaves as if it had no image list.
  ImageList() = default;
  // One image per resource name (":/icons/<name>.svg"), drawn at `size` px.
  ImageList(const QStringList& names, int size);

  static ImageList smallImages();       // 16 px, the ImageIndex order
  static ImageList largeImages();       // 32 px, the ImageIndex order
  static ImageList paneToggleImages();  // 16 px, the PaneToggleImage order

  int size() const { return size_; }
  int count() const { return int(icons_.size()); }
  bool isEmpty() const { return icons_.isEmpty(); }
  // A null icon when `index` is out of range.
  QIcon icon(int index) const;
  QPixmap pixmap(int index, qreal devicePixelRatio = 1.0) const;

  // The icon of a menu command or tool button, e.g. "save", "find"; a null
  // icon for a name the set does not have.
  static QIcon commandIcon(const QString& name);
  static QIcon programIcon();
  // Every name commandIcon() knows, in no particular order.
  static QStringList commandIconNames();
  // The icon of a resource name drawn at `size` and twice that, for HiDPI.
  static QIcon loadIcon(const QString& name, int size);

 private:
  QList<QIcon> icons_;
  int size_ = 16;
};

}  // namespace vorlix
