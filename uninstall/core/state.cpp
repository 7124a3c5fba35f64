// The uninstaller's state record and its texts (see state.h).
#include "core/state.h"

#include <cstring>

#include "platform/platform.h"
#include "resources/uninstall_ids.h"

namespace uninstall {

UninstallState TheUninstall;

void ResetUninstallState() { std::memset(&TheUninstall, 0, sizeof TheUninstall); }

std::string UiText(int id) {
  char text[1024];
  int chosen = TheUninstall.ChineseUi ? id + UNINSTALL_CHINESE_OFFSET : id;
  setup::platform::LoadText(chosen, text, sizeof text);
  return text;
}

}  // namespace uninstall
