#pragma once
// Opening and saving the document's file, with their failure rules: a file
// that cannot be read leaves the open database as it was, a file that is
// not whole link and folder records is only taken after a question, and a
// failed save says why and keeps the database dirty. The views, the caption
// and the remembered last file follow the document's signals.
#include <QString>

namespace vorlix {

class LinkDocument;
class Prompts;

class DocumentFiles {
 public:
  DocumentFiles(LinkDocument& document, Prompts& prompts) : doc_(document), prompts_(prompts) {}

  // Reads `path` into the document (a fresh history); false, said in a box
  // or declined by the user, leaves everything as it was.
  bool open(const QString& path);
  // Writes the document to `path`, which then becomes its file.
  bool save(const QString& path);

 private:
  LinkDocument& doc_;
  Prompts& prompts_;
};

}  // namespace vorlix
