#include "store/EpochDates.h"

#include <time.h>

#include <QDateTime>
#include <algorithm>
#include <limits>

#include "store/DosDate.h"

namespace vorlix {
namespace {

constexpr qint64 kQuarter = 900;
// 1980-01-01 .. 2107-12-31 23:59:59, with a day's margin for any offset.
constexpr qint64 kFirstSecs = 315532800 - 86400;
constexpr qint64 kLastSecs = 4354819199 + 86400;

qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
qint64 daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const qint64 era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = int(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(qint64 z, int& y, int& m, int& d) {
  z += 719468;
  const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = int(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = int(yoe + era * 400) + (m <= 2);
}

// The local offset at an instant. localtime_r, unlike QDateTime's local
// time, does not look at the zone file again for every call.
int utcOffsetAt(qint64 secs) {
  const time_t t = time_t(secs);
  tm parts{};
  if (!::localtime_r(&t, &parts)) return QDateTime::fromSecsSinceEpoch(secs).offsetFromUtc();
  return int(parts.tm_gmtoff);
}

constexpr qint64 kNoKey = std::numeric_limits<qint64>::min();

size_t slotOf(qint64 key, size_t mask) {
  std::uint64_t x = std::uint64_t(key) * 0x9E3779B97F4A7C15ULL;
  return size_t(x >> 32) & mask;
}

}  // namespace

const int* EpochDates::OffsetTable::find(qint64 quarter) const {
  if (keys_.empty()) return nullptr;
  const size_t mask = keys_.size() - 1;
  for (size_t i = slotOf(quarter, mask);; i = (i + 1) & mask) {
    if (keys_[i] == quarter) return &offsets_[i];
    if (keys_[i] == kNoKey) return nullptr;
  }
}

void EpochDates::OffsetTable::insert(qint64 quarter, int offset) {
  if ((used_ + 1) * 2 > keys_.size()) {
    std::vector<qint64> oldKeys(std::max<size_t>(1024, keys_.size() * 2), kNoKey);
    std::vector<int> oldOffsets(oldKeys.size());
    oldKeys.swap(keys_);
    oldOffsets.swap(offsets_);
    used_ = 0;
    for (size_t i = 0; i < oldKeys.size(); ++i)
      if (oldKeys[i] != kNoKey) insert(oldKeys[i], oldOffsets[i]);
  }
  const size_t mask = keys_.size() - 1;
  size_t i = slotOf(quarter, mask);
  while (keys_[i] != kNoKey && keys_[i] != quarter) i = (i + 1) & mask;
  if (keys_[i] == kNoKey) ++used_;
  keys_[i] = quarter;
  offsets_[i] = offset;
}

EpochDates::EpochDates() {
  // localtime_r reads the zone only once; make sure it is the current one.
  ::tzset();
}

std::uint32_t EpochDates::toDos(qint64 secs) {
  if (secs < kFirstSecs || secs > kLastSecs) return 0;
  const qint64 quarter = floorDiv(secs, kQuarter);
  int offset;
  if (const int* known = byUtc_.find(quarter)) {
    offset = *known;
  } else {
    offset = utcOffsetAt(quarter * kQuarter);
    byUtc_.insert(quarter, offset);
  }
  const qint64 local = secs + offset;
  const qint64 days = floorDiv(local, 86400);
  const int daySecs = int(local - days * 86400);
  int y, m, d;
  civilFromDays(days, y, m, d);
  if (y < 1980 || y > 2107) return 0;
  const std::uint32_t date =
      std::uint32_t(y - 1980) << 9 | std::uint32_t(m) << 5 | std::uint32_t(d);
  const std::uint32_t time = std::uint32_t(daySecs / 3600) << 11 |
                             std::uint32_t(daySecs / 60 % 60) << 5 |
                             std::uint32_t(daySecs % 60 / 2);
  return date << 16 | time;
}

std::optional<qint64> EpochDates::toEpoch(std::uint32_t stamp) {
  if (!isValidDosDateTime(stamp)) return std::nullopt;
  const int date = int(stamp >> 16), time = int(stamp & 0xFFFF);
  const int y = 1980 + (date >> 9), mo = (date >> 5) & 0x0F, d = date & 0x1F;
  const int h = time >> 11, mi = (time >> 5) & 0x3F, s = (time & 0x1F) * 2;
  const qint64 local = daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s;
  const qint64 quarter = floorDiv(local, kQuarter);
  if (const int* known = byLocal_.find(quarter)) return local - *known;
  // The offset that holds at the instant it gives; where no single one
  // does (the hour a clock change skips or repeats) the system decides.
  int offset = utcOffsetAt(local);
  offset = utcOffsetAt(local - offset);
  if (utcOffsetAt(local - offset) != offset || utcOffsetAt(local - offset - 3600) != offset ||
      utcOffsetAt(local - offset + 3600) != offset) {
    const QDateTime dt(QDate(y, mo, d), QTime(h, mi, s));
    return dt.toSecsSinceEpoch();
  }
  byLocal_.insert(quarter, offset);
  return local - offset;
}

}  // namespace vorlix
