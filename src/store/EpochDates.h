#pragma once
// Seconds since 1970 (what browsers write) to and from local MS-DOS
// date-times, quick for long runs of dates: the local time offset is asked
// of the system once per quarter hour met, not once per date.
#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <vector>

namespace vorlix {

class EpochDates {
 public:
  EpochDates();
  // The local DOS date-time of `secs`; 0 outside 1980..2107, as
  // toDosDateTime gives.
  std::uint32_t toDos(qint64 secs);
  // Seconds since 1970 of a stamp; empty when the stamp is no valid date.
  std::optional<qint64> toEpoch(std::uint32_t stamp);

  // Offsets from UTC by quarter hour, in one flat table (a file's dates
  // jump about, and a node per entry would cost a cache miss each).
  class OffsetTable {
   public:
    const int* find(qint64 quarter) const;
    void insert(qint64 quarter, int offset);

   private:
    std::vector<qint64> keys_;
    std::vector<int> offsets_;
    size_t used_ = 0;
  };

 private:
  OffsetTable byUtc_;
  OffsetTable byLocal_;
};

}  // namespace vorlix
