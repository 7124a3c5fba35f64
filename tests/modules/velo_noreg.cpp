// A coder module without its register entry point.
#include "test_module.h"

MODULE_ENTRY UnregisterNOREGImage(void) { UnregisterFormatEntry("NOREG"); }
