#pragma once
// The Add Url dialog: a description and a URL for a new link in the
// current folder.
#include <QDialog>
#include <functional>

#include "store/Ansi.h"

class QLineEdit;
class QPushButton;

namespace vorlix {

class LinkDocument;
class Prompts;

class TFAddItem : public QDialog {
  Q_OBJECT
 public:
  TFAddItem(QWidget* parent, Prompts& prompts);

  QLineEdit* EditName = nullptr;         // the URL
  QLineEdit* EditDescription = nullptr;  // the description
  QPushButton* BOk = nullptr;
  QPushButton* BCancel = nullptr;

  // Where an accepted link goes; set by whoever opens the dialog. OK adds it
  // as one undo step of `document`.
  void setTarget(LinkDocument* document, const AnsiString& folderPath);
  // Opens modally in add mode with the fields given; true on OK.
  bool runAdd(const QString& url = {}, const QString& description = {});

 private:
  void BOkClick();

  Prompts& prompts_;
  LinkDocument* document_ = nullptr;
  AnsiString folderPath_;
};

// The description rule of the OK check: empty text is refused with its own
// message; the returned text is the warning to show, empty when it passes.
QString checkDescription(const QString& description);

}  // namespace vorlix
