#pragma once
// The database's records as a tree of folders and links, for the writers of
// formats that nest (XBEL, sync).
#include "interchange/ImportTree.h"
#include "store/LinkList.h"

namespace vorlix {

// Folders in the order the list first names them (a folder that only exists
// as the parent of other records sits where its first record does), links
// in list order; titles are the names' last parts, dates the records'
// stamps. The root stands for "Favorites\".
ImportedFolder RecordsAsTree(const LinkList& links);

}  // namespace vorlix
