// The summary dialog that ends an interactive run: a headline and the list
// of what was removed, what was left and why.
#ifndef LUMAVIEW_UNINSTALL_SUMMARY_DIALOG_H
#define LUMAVIEW_UNINSTALL_SUMMARY_DIALOG_H

#include "core/report.h"

namespace uninstall {

// The longest list text the dialog shows.
constexpr std::size_t kSummaryLimit = 30000;

// Runs the summary modally (template by language); returns when closed.
void ShowSummary(const Report& report);

}  // namespace uninstall

#endif
