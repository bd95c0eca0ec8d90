#pragma once
// The open database as the window shows it, without a widget: the document,
// the folder the list shows, the tree and list models, the current and
// clicked rows and whether the list is flat. It follows the document by
// itself: another database, an import or an undo shows the whole document
// again. The window only mirrors the models into its controls and answers
// the few questions below that only it can answer; commands, tests and
// benchmarks drive this class directly.
#include <QObject>
#include <QString>
#include <utility>

#include "store/FolderPosition.h"
#include "store/FolderTree.h"
#include "store/ListRows.h"

namespace vorlix {

class LinkDocument;
class RebuildProgress;

class FolderView : public QObject {
  Q_OBJECT
 public:
  // What only the controls know. Without one: nothing has the keyboard,
  // the list is unsorted and in explorer style.
  class Controls {
   public:
    virtual ~Controls() = default;
    virtual bool treeHasFocus() const = 0;
    // The find box's text while it has the keyboard, else empty.
    virtual QString activeFind() const = 0;
    virtual bool classicStyle() const = 0;
    // The column the user sorted by (-1: none) and whether descending.
    virtual std::pair<int, bool> sortOrder() const = 0;
  };

  explicit FolderView(LinkDocument& document, QObject* parent = nullptr);
  ~FolderView() override;

  void setControls(Controls* controls) { controls_ = controls; }
  void setProgress(RebuildProgress* progress) { progress_ = progress; }

  LinkDocument& document() { return doc_; }
  FolderPosition& position() { return pos_; }
  FolderTreeModel& tree() { return tree_; }
  LinkListModel& list() { return rows_; }
  const ListRows& rows() const { return rows_.rows(); }
  // The row last selected or clicked; -1 for none.
  int currentItem() const { return current_; }
  void setCurrentItem(int row) { current_ = row; }
  // The tree node under the pointer at the last mouse press in the tree;
  // never left pointing at a node the model removed.
  FolderNode* clickedFolder() const { return clicked_; }
  void setClickedFolder(FolderNode* node) { clicked_ = node; }
  // Rows built as the flat listing: classic style, or find results.
  bool flatMode() const;

  // --- rebuilds ---
  void rebuildList();
  // With the tree focused, selecting the root is a selection change that
  // shows the root; commands that keep their own folder pass false.
  void rebuildTree(bool rootSelectionMovesFolder = true);
  // Selects `node` in the tree without making it the current folder.
  void selectNode(FolderNode* node);
  // The path label's text follows the folder position.
  void showPath();
  // Asks for the enabled state of the commands to be worked out again.
  void stateChanged() { emit commandStateChanged(); }
  // Moves the list's keyboard to `row` (the window moves its control).
  void focusRow(int row);
  // Another database or an import: the whole document from the root.
  void showWholeDocument();

  // --- the user moves ---
  void changeFolder(FolderNode* node);
  void treeEntered();
  void treePressed(FolderNode* node);
  void rowSelected(int row);
  void rowPressed(int row);
  void followListInTree();
  // Enter or double-click on the current row: a link opens, a folder is
  // entered, ".." goes up.
  void openCurrentRow(bool doubleClick);
  void find(const QString& text);
  void sortByColumn(int column, bool descending);

 signals:
  void pathChanged(const QString& text);
  // The tree model or its selection changed: the tree control follows.
  void treeChanged();
  void commandStateChanged();
  void rowFocused(int row);
  void linkOpened(const QString& url);

 private:
  void showRows(ListRows&& rows);
  void afterHistoryMove();
  bool treeHasFocus() const { return controls_ && controls_->treeHasFocus(); }
  QString activeFind() const { return controls_ ? controls_->activeFind() : QString(); }

  LinkDocument& doc_;
  Controls* controls_ = nullptr;
  RebuildProgress* progress_ = nullptr;
  FolderPosition pos_;
  FolderTreeModel tree_;
  LinkListModel rows_;
  FolderNode* clicked_ = nullptr;
  int current_ = 0;
};

}  // namespace vorlix
