// The one SetupState of the process and the language choice of ids.
#include "common/state.h"

namespace setup {

SetupState TheSetup;

void ResetSetupState() { TheSetup = SetupState{}; }

int ByLanguage(int english_id, int chinese_id) {
  return TheSetup.ChineseUi ? chinese_id : english_id;
}

}  // namespace setup
