#pragma once
// A synthetic database for the benchmarks: about one folder per 20 links,
// folders up to five levels deep, names of 20 to 80 characters, in the
// sorted-by-path shape a saved database has (each folder's record first,
// then its links, then its subfolders).
#include <sys/resource.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/LinkList.h"

namespace vorlix::bench {

inline std::string randomName(std::mt19937& rng, int minLen, int maxLen) {
  static const char kChars[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789   -_.";
  std::uniform_int_distribution<int> len(minLen, maxLen);
  std::uniform_int_distribution<int> ch(0, int(sizeof(kChars)) - 2);
  std::string s(size_t(len(rng)), ' ');
  for (char& c : s) c = kChars[ch(rng)];
  if (s.empty()) return s;
  s.front() = char('A' + rng() % 26);  // no blank at either end
  s.back() = char('a' + rng() % 26);
  return s;
}

// A title in another script, in UTF-8: Cyrillic, Greek or CJK by turns.
inline std::string nonLatinName(std::mt19937& rng, int minLen, int maxLen) {
  std::uniform_int_distribution<int> len(minLen, maxLen);
  const int script = int(rng() % 3);
  std::string s;
  const int n = len(rng);
  for (int i = 0; i < n; ++i) {
    char32_t cp;
    if (i > 0 && rng() % 6 == 0) {
      cp = ' ';
    } else if (script == 0) {
      cp = 0x0410 + rng() % 64;  // Cyrillic letters
    } else if (script == 1) {
      cp = 0x03B1 + rng() % 25;  // Greek small letters
    } else {
      cp = 0x4E00 + rng() % 2000;  // common CJK ideographs
    }
    if (cp < 0x80) {
      s.push_back(char(cp));
    } else if (cp < 0x800) {
      s.push_back(char(0xC0 | (cp >> 6)));
      s.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      s.push_back(char(0xE0 | (cp >> 12)));
      s.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      s.push_back(char(0x80 | (cp & 0x3F)));
    }
  }
  return s;
}

struct Database {
  LinkList list;
  size_t folders = 0;
  std::string bigFolder;  // the first-level folder holding the most records
};

// With `nonLatin`, every third title is in another script (nonLatinName).
inline Database makeDatabase(size_t records, std::uint32_t seed = 42, bool nonLatin = false) {
  std::mt19937 rng(seed);
  const size_t folderCount = std::max<size_t>(1, records / 21);
  struct F {
    std::string path;
    int depth;
    std::vector<size_t> kids;
    size_t links = 0;
  };
  std::vector<F> fs;
  fs.push_back({"Favorites\\", 1, {}, 0});
  // A skew towards early folders gives a few big subtrees, as real
  // collections have.
  for (size_t i = 0; i < folderCount; ++i) {
    size_t parent;
    do {
      std::uniform_int_distribution<size_t> pick(0, fs.size() - 1);
      parent = rng() % 3 == 0 ? 0 : std::min(pick(rng), pick(rng));
    } while (fs[parent].depth >= 5);
    fs.push_back({fs[parent].path + randomName(rng, 8, 30) + "\\", fs[parent].depth + 1, {}, 0});
    fs[parent].kids.push_back(fs.size() - 1);
  }
  const size_t linkCount = records - folderCount;
  std::uniform_int_distribution<size_t> anyFolder(0, fs.size() - 1);
  for (size_t i = 0; i < linkCount; ++i) ++fs[anyFolder(rng)].links;

  Database db;
  db.list.reserve(records);
  db.folders = folderCount;
  std::uniform_int_distribution<int> year(1995, 2024), month(1, 12), day(1, 28);
  auto stamp = [&] {
    return std::uint32_t(year(rng) - 1980) << 25 | std::uint32_t(month(rng)) << 21 |
           std::uint32_t(day(rng)) << 16 | (12u << 11);
  };
  std::vector<size_t> subtree(fs.size(), 0);
  // Depth first, so every folder's record comes before what lies below it.
  auto emitFolder = [&](auto&& self, size_t f) -> size_t {
    const size_t before = db.list.size();
    if (f != 0) db.list.append(LinkRecord::make(fs[f].path, "", stamp(), "Folder"));
    for (size_t k = 0; k < fs[f].links; ++k) {
      const std::string desc =
          nonLatin && db.list.size() % 3 == 0 ? nonLatinName(rng, 6, 30) : randomName(rng, 20, 80);
      const std::string url =
          "http://www." + randomName(rng, 6, 20) + ".example.org/" + randomName(rng, 0, 30);
      db.list.append(LinkRecord::make(fs[f].path + desc, url, stamp(), "Url"));
    }
    for (size_t c : fs[f].kids) subtree[c] = self(self, c);
    return db.list.size() - before;
  };
  emitFolder(emitFolder, 0);
  size_t best = 0;
  for (size_t c : fs[0].kids)
    if (subtree[c] > best) {
      best = subtree[c];
      db.bigFolder = fs[c].path;
    }
  return db;
}

inline double peakRssMiB() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return double(ru.ru_maxrss) / 1024.0;
}

}  // namespace vorlix::bench
