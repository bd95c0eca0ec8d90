#pragma once
#include <QProgressBar>
#include <algorithm>

#include "store/ListBuilder.h"

namespace vorlix {

// The status-bar progress of a rebuild. Repainting the bar for each of
// 100,000 records would cost more than the rebuild, so it moves in steps.
struct MainRebuildProgress : RebuildProgress {
  explicit MainRebuildProgress(QProgressBar* bar) : bar(bar) {}
  void start(int max) override {
    count = 0;
    bar->setRange(0, std::max(max, 1));
    bar->setValue(0);
  }
  void step() override {
    if ((++count & 0x3FFF) == 0) bar->setValue(count);
  }
  void finish() override { bar->setValue(0); }
  QProgressBar* bar;
  int count = 0;
};

}  // namespace vorlix
