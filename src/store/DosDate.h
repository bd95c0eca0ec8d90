#pragma once
// MS-DOS date-time stamps: low 16 bits the time (seconds/2, minute, hour),
// high 16 bits the date (day, month, year - 1980), in local time.
#include <QDateTime>
#include <cstdint>
#include <optional>

namespace vorlix {

// 0 for a date outside 1980..2107, the value such dates are stored as.
std::uint32_t toDosDateTime(const QDateTime& local);
std::uint32_t currentDosDateTime();
// Empty when the stamp does not name a valid date and time.
std::optional<QDateTime> fromDosDateTime(std::uint32_t stamp);
// The same test without building a date-time (cheap enough for sorting).
bool isValidDosDateTime(std::uint32_t stamp);
// The date part of a valid stamp; empty when the stamp is not valid.
std::optional<QDate> dosDate(std::uint32_t stamp);

}  // namespace vorlix
