// The exported constant texts: pointer variables bound to data ordinals.
#include "pixbase/constant_texts.h"

namespace {
const char kLightGray[] = "#dfdfdf";
}  // namespace

extern "C" {
const char* AppendModeText = "ab";
const char* LightGrayText = kLightGray;
const char* LightGrayText2 = kLightGray;
const char* TwelveText = "12";
const char* SmallGeometryText = "15x15+3+3";
const char* LargeGeometryText = "106x106+4+3>";
const char* EscapeFormatText = "%f\n%wx%h\n%b";
const char* BlackText = "#000000";
const char* LoadingOneText = "  Loading image...  ";
const char* LoadingManyText = "  Loading images...  ";
const char* MidGrayText = "#bdbdbd";
const char* GeometryText72 = "72x72";
const char* PageGeometryText = "612x792>";
const char* ReadModeText = "rb";
const char* ReadModeTextU = "rbu";
const char* SavingOneText = "  Saving image...  ";
const char* SavingManyText = "  Saving images...  ";
const char* WriteModeText = "wb";

}  // extern "C"
