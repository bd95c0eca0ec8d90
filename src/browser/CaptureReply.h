#pragma once
// The capture's reply text: the page's URL and title as a comma list of
// quoted fields, and the split the Add/Edit dialog applies to it.
#include <QString>
#include <QStringList>

namespace vorlix {

// "url","title" with each double quote inside a field doubled. NUL
// characters, which would end the text for the split, are left out.
QString FormatCaptureReply(const QString& url, const QString& title);

// The comma-list split: blanks and control characters (codes 1 to 32) before
// and after a field are skipped; a field starting with a double quote runs to
// its closing quote, a doubled quote standing for one; an unquoted field ends
// at a comma or at a code of 32 or less; a comma that is the very last
// character adds a final empty field. A NUL ends the text.
QStringList SplitCaptureReply(const QString& reply);

}  // namespace vorlix
