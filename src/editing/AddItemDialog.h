#pragma once
// The Add Url / Edit Url dialog: a description, a URL, the page capture
// buttons and, when adding, the folder the new link goes to. Its behaviour
// lives in LinkEditor; this class lays out the controls and hands it the
// user's presses.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

#include "editing/LinkEditor.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeView;

namespace vorlix {

class EditorHost;
class ImageList;

class TFAddItem : public QDialog {
  Q_OBJECT
 public:
  TFAddItem(QWidget* parent, EditorHost& host);
  ~TFAddItem() override;

  QLabel* LabelDescription = nullptr;
  QLineEdit* EditDescription = nullptr;
  QToolButton* BCaptureTitle = nullptr;
  QLabel* LabelURL = nullptr;
  QLineEdit* EditName = nullptr;  // the URL
  QToolButton* BCaptureURL = nullptr;
  QLabel* LabelPath = nullptr;
  QTreeView* TreeViewAdd = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BCancel = nullptr;
  QToolButton* BNewFolder = nullptr;

  // The capture: the fields of the browser's reply (URL first, title
  // second), or none when no browser page was found.
  void setCapture(std::function<QStringList()> capture) { capture_ = std::move(capture); }

  // Opens modally in add mode with the fields given; true on OK.
  // A non-empty `folder` is the target folder in place of the current one.
  bool runAdd(const QString& url = {}, const QString& description = {},
              const AnsiString& folder = {});
  // Opens modally in edit mode for the list's current item; false when it
  // is no link row or the user cancelled.
  bool runEdit();

  LinkEditor& editor() { return editor_; }

  // Client sizes: the window heights of the two modes less the frame.
  static constexpr int kDesignWidth = 440;
  static constexpr int kDesignHeight = 432;
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 27;
  static constexpr int kAddHeight = 432 - kFrameHeight;
  static constexpr int kEditHeight = 158 - kFrameHeight;
  static constexpr int kMinWidth = 448 - kFrameWidth;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The design's size for the mode, or what the text needs when larger:
  // the least it needs, or what it needs to show at ease.
  QSize fitting(int designHeight, bool comfortable);
  void syncTreeView();
  void showTarget();
  bool run();
  void BOkClick();
  void BNewFolderClick();
  void capture(QLineEdit* into, int field);

  LinkEditor editor_;
  std::function<QStringList()> capture_;
  bool syncing_ = false;
};

}  // namespace vorlix
