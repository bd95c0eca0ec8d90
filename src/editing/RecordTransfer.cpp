#include "editing/RecordTransfer.h"

#include <unordered_map>

#include "store/LinkList.h"
#include "store/Paths.h"

namespace vorlix {
namespace {

// Lets the hash tables below be searched with a view of a record's name,
// without building a string per record.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <typename V>
using NameMap = std::unordered_map<AnsiString, V, NameHash, std::equal_to<>>;
using NameSet = std::unordered_set<AnsiString, NameHash, std::equal_to<>>;

// The sub-folder of `source` that holds `name`, or empty when `name` does not
// lie below a sub-folder of it.
std::string_view SubfolderOf(std::string_view name, std::string_view source) {
  if (!startsWith(name, source)) return {};
  return FirstComponentView(name.substr(source.size()));
}

}  // namespace

std::vector<LinkRecord> CollectRows(const LinkList& links, std::string_view source,
                                    const std::vector<TransferRow>& rows, LinkMatch match,
                                    std::vector<size_t>* rowOf) {
  NameMap<std::vector<size_t>> linkRows;  // full name -> rows
  NameMap<size_t> folderRows;             // caption -> row
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].isFolder())
      folderRows.try_emplace(rows[i].caption, i);
    else
      linkRows[rows[i].folder + rows[i].caption].push_back(i);
  }

  std::vector<std::vector<LinkRecord>> perRow(rows.size());
  std::vector<bool> linkFound(rows.size(), false);
  for (const LinkRecord& r : links) {
    const std::string_view name = r.fullName();
    if (!linkRows.empty()) {
      const auto it = linkRows.find(name);
      if (it != linkRows.end()) {
        for (size_t row : it->second) {
          if (match == LinkMatch::First && linkFound[row]) continue;
          linkFound[row] = true;
          LinkRecord copy = r;
          copy.setFullName(FileNameView(name));
          perRow[row].push_back(copy);
        }
      }
    }
    if (!folderRows.empty()) {
      const std::string_view sub = SubfolderOf(name, source);
      if (sub.empty()) continue;
      const auto it = folderRows.find(sub);
      if (it == folderRows.end()) continue;
      LinkRecord copy = r;
      copy.setFullName(name.substr(source.size()));
      perRow[it->second].push_back(copy);
    }
  }

  std::vector<LinkRecord> out;
  if (rowOf) rowOf->clear();
  for (size_t row = 0; row < perRow.size(); ++row) {
    out.insert(out.end(), perRow[row].begin(), perRow[row].end());
    if (rowOf) rowOf->insert(rowOf->end(), perRow[row].size(), row);
  }
  return out;
}

size_t RemoveRows(LinkList& links, std::string_view source, const std::vector<TransferRow>& rows) {
  NameSet linkNames;
  NameSet folderNames;
  for (const TransferRow& row : rows) {
    if (row.isFolder())
      folderNames.insert(row.caption);
    else
      linkNames.insert(row.folder + row.caption);
  }
  return links.removeIf([&](const LinkRecord& r) {
    const std::string_view name = r.fullName();
    if (!linkNames.empty() && linkNames.contains(name)) return true;
    if (folderNames.empty()) return false;
    const std::string_view sub = SubfolderOf(name, source);
    return !sub.empty() && folderNames.contains(sub);
  });
}

void InsertRecords(LinkList& links, std::string_view target, const std::vector<LinkRecord>& records,
                   FitReport* report) {
  std::vector<LinkRecord> fresh;
  fresh.reserve(records.size());
  NameMap<size_t> replaceable;  // full name -> copies of it
  // Every arriving name begins with this (a target too long for a record
  // leaves nothing certain).
  const std::string_view stem =
      storedSize(target) <= size_t(kMaxText) ? target : std::string_view();
  AnsiString wanted;
  for (const LinkRecord& r : records) {
    LinkRecord copy = r;
    wanted.assign(target).append(r.fullName());
    copy.setFullName(wanted);
    if (report && copy.fullName().size() != wanted.size()) {
      // Nothing is cut unseen: the summary names it.
      (r.isFolder() ? report->mergedFolders : report->cutTitles) << fromAnsi(copy.fullName());
    }
    ++replaceable[AnsiString(copy.fullName())];
    fresh.push_back(copy);
  }
  links.removeIf([&](const LinkRecord& r) {
    const std::string_view name = r.fullName();
    if (!startsWith(name, stem)) return false;
    const auto it = replaceable.find(name);
    if (it == replaceable.end() || it->second == 0) return false;
    --it->second;
    return true;
  });
  links.reserve(links.size() + fresh.size());
  for (const LinkRecord& r : fresh) links.append(r);
}

FolderContents ContentsOf(const LinkList& links, std::string_view folder) {
  FolderContents out;
  for (const LinkRecord& r : links) {
    const std::string_view name = r.fullName();
    if (!startsWith(name, folder)) continue;
    const std::string_view rest = name.substr(folder.size());
    if (FilePathView(name).size() == folder.size() && !FileNameView(name).empty()) {
      // Directly in the folder; a record of kind "Folder" here shows as a
      // folder row.
      (r.isFolder() ? out.subfolders : out.links).insert(upperAscii(FileNameView(name)));
      continue;
    }
    const std::string_view sub = FirstComponentView(rest);
    if (!sub.empty()) out.subfolders.insert(upperAscii(sub));
  }
  return out;
}

int RowAfterDownPresses(int presses, int rowCount) {
  if (presses <= 0 || rowCount <= 0) return -1;
  return std::min(presses, rowCount) - 1;
}

}  // namespace vorlix
