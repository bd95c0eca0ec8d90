#pragma once
// Seconds since 1970 (what browsers write) to and from local MS-DOS
// date-times, quick for long runs of dates: the local time offset is asked
// of the system once per quarter hour met, not once per date.
#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace vorlix {

class EpochDates {
 public:
  // The local DOS date-time of `secs`; 0 outside 1980..2107, as
  // toDosDateTime gives.
  std::uint32_t toDos(qint64 secs);
  // Seconds since 1970 of a stamp; empty when the stamp is no valid date.
  std::optional<qint64> toEpoch(std::uint32_t stamp);

 private:
  // Local offsets from UTC: by UTC quarter hour, and by local quarter hour.
  std::unordered_map<qint64, int> utcOffset_;
  std::unordered_map<qint64, int> localOffset_;
};

}  // namespace vorlix
