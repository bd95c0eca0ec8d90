#include "store/DosDate.h"

namespace vorlix {

std::uint32_t toDosDateTime(const QDateTime& local) {
  const QDate d = local.date();
  const QTime t = local.time();
  if (!d.isValid() || d.year() < 1980 || d.year() > 2107) return 0;
  const std::uint32_t date =
      std::uint32_t(d.year() - 1980) << 9 | std::uint32_t(d.month()) << 5 | std::uint32_t(d.day());
  const std::uint32_t time = std::uint32_t(t.hour()) << 11 | std::uint32_t(t.minute()) << 5 |
                             std::uint32_t(t.second() / 2);
  return date << 16 | time;
}

std::uint32_t currentDosDateTime() { return toDosDateTime(QDateTime::currentDateTime()); }

std::optional<QDateTime> fromDosDateTime(std::uint32_t stamp) {
  const int time = int(stamp & 0xFFFF);
  const int date = int(stamp >> 16);
  const QDate d(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
  const int h = time >> 11, m = (time >> 5) & 0x3F, s = (time & 0x1F) * 2;
  if (!d.isValid() || h > 23 || m > 59 || s > 59) return std::nullopt;
  return QDateTime(d, QTime(h, m, s));
}

bool isValidDosDateTime(std::uint32_t stamp) {
  const int time = int(stamp & 0xFFFF);
  const int date = int(stamp >> 16);
  const int h = time >> 11, m = (time >> 5) & 0x3F, s = (time & 0x1F) * 2;
  return QDate::isValid(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F) && h <= 23 &&
         m <= 59 && s <= 59;
}

std::optional<QDate> dosDate(std::uint32_t stamp) {
  if (!isValidDosDateTime(stamp)) return std::nullopt;
  const int date = int(stamp >> 16);
  return QDate(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F);
}

}  // namespace vorlix
