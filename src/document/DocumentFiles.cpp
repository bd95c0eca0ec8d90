#include "document/DocumentFiles.h"

#include <QFileInfo>

#include "document/LinkDocument.h"
#include "platform/Prompts.h"
#include "store/LdbFile.h"

namespace vorlix {
namespace {

// The question before a file that is not a database is opened: what it
// holds, and what a Save would drop.
QString NotADatabaseText(const QString& path, const LdbShape& shape) {
  QString text =
      QStringLiteral("'%1' does not look like a Vorlix database:").arg(QFileInfo(path).fileName());
  if (shape.trailingBytes > 0)
    text += QStringLiteral(
                "\r\n%1 bytes at the end are not a whole record and would be lost "
                "at the next Save.")
                .arg(shape.trailingBytes);
  if (shape.otherKinds == 1)
    text += QStringLiteral("\r\n1 record is neither a link nor a folder.");
  else if (shape.otherKinds > 1)
    text += QStringLiteral("\r\n%1 records are neither links nor folders.").arg(shape.otherKinds);
  return text + QStringLiteral("\r\nOpen it all the same ?");
}

}  // namespace

bool DocumentFiles::open(const QString& path) {
  LinkList loaded;
  LdbShape shape;
  const IoResult r = loadLdbFile(path, loaded, &shape);
  if (!r) {
    prompts_.message(MsgType::Error, Buttons::Ok, r.message);
    return false;
  }
  // Any file "loads"; one that is not a database is only taken for one
  // when the user says so, as a Save would then rewrite it.
  if (!shape.isDatabase() && prompts_.ask(MsgType::Warning, Buttons::YesNo,
                                          NotADatabaseText(path, shape), Answer::No) != Answer::Yes)
    return false;
  doc_.adopt(std::move(loaded), path);
  return true;
}

bool DocumentFiles::save(const QString& path) {
  const IoResult r = saveLdbFile(path, doc_.links());
  if (!r) {
    prompts_.message(MsgType::Error, Buttons::Ok, r.message);
    return false;  // the dirty flag stays set
  }
  doc_.markSaved(path);
  return true;
}

}  // namespace vorlix
