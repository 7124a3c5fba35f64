// Entry points that do nothing, kept for the slots that clients bind to them.
#include "pixbase/memory.h"

extern "C" void DoNothing(void) {}
