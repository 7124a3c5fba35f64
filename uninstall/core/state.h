// UninstallState: the uninstaller's one process-wide record, and its texts
// in the language the ANSI code page picks (as setup picks its own).
#ifndef LUMAVIEW_UNINSTALL_STATE_H
#define LUMAVIEW_UNINSTALL_STATE_H

#include <string>

#include "core/places.h"

namespace uninstall {

struct UninstallState {
  int ChineseUi;           // the ANSI code page is 936
  bool silent;             // "/S": no dialog at all
  char module[kPathSize];  // this program's own file, in its normal form
};

extern UninstallState TheUninstall;

// Clears the record to its state before start-up.
void ResetUninstallState();

// A string of the program in the chosen language (empty when missing).
std::string UiText(int id);

}  // namespace uninstall

#endif
