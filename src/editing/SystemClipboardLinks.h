#pragma once
// What Copy and Paste ask of the system clipboard: the copied links go
// there too, and links another program put there are pasted as links.
namespace vorlix {

class ClipboardList;

class SystemClipboardLinks {
 public:
  virtual ~SystemClipboardLinks() = default;
  // Copy has filled the program's own clipboard.
  virtual void copied(const ClipboardList& copy) = 0;
  // Whether the system clipboard may hold links of another program (not
  // this program's own copy), judged without decoding them.
  virtual bool hasForeignLinks() const = 0;
  // Paste: takes those links in; false when there are none, so the own
  // clipboard is pasted instead.
  virtual bool pasteForeignLinks() = 0;
};

}  // namespace vorlix
