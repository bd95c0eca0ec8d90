#pragma once
// The one summary box at the end of an import, paste or drop that had to
// cut or merge anything: it names every link cut and every folder merged.
#include <QString>

#include "store/FitReport.h"

namespace vorlix {

class Prompts;

// The box's text; empty when nothing was cut, merged or skipped.
QString FitSummaryText(const FitReport& report);

// Shows the box when there is anything to tell.
void ShowFitSummary(Prompts& prompts, const FitReport& report);

// Nothing Vorlix writes may be refused when read back: a paste or drop that
// would take the database past what Open accepts says so with both counts
// and returns true, and the caller adds nothing.
bool RefuseWhenFull(Prompts& prompts, size_t already, size_t adding);

}  // namespace vorlix
