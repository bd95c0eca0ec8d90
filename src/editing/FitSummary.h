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

}  // namespace vorlix
