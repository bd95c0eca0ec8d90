#include "editing/FitSummary.h"

#include "platform/Prompts.h"

namespace vorlix {
namespace {

// A box stays readable: long lists end with a count of the rest.
constexpr qsizetype kMostNamed = 30;

void appendList(QString& text, const QString& heading, const QStringList& names) {
  if (names.isEmpty()) return;
  text += QStringLiteral("\r\n\r\n") + heading.arg(names.size());
  for (qsizetype i = 0; i < names.size() && i < kMostNamed; ++i)
    text += QStringLiteral("\r\n  ") + names[i];
  if (names.size() > kMostNamed)
    text += QStringLiteral("\r\n  ... and %1 more").arg(names.size() - kMostNamed);
}

}  // namespace

QString FitSummaryText(const FitReport& report) {
  if (report.changedNothing() && report.skipped.isEmpty()) return {};
  QString text = QStringLiteral("Some items did not fit as they were:");
  appendList(text, QStringLiteral("%1 titles were cut to fit:"), report.cutTitles);
  appendList(text, QStringLiteral("%1 URLs were cut to fit:"), report.cutUrls);
  appendList(text, QStringLiteral("%1 folders lay too deep and went into their parent:"),
             report.mergedFolders);
  for (const auto& [kind, count] : report.skipped)
    text += QStringLiteral("\r\n\r\n%1 %2 were left out.").arg(count).arg(kind);
  return text;
}

void ShowFitSummary(Prompts& prompts, const FitReport& report) {
  const QString text = FitSummaryText(report);
  if (!text.isEmpty()) prompts.message(MsgType::Information, Buttons::Ok, text);
}

}  // namespace vorlix
