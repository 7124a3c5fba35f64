// The process-wide texts: the client name that opens every message and the
// configure path that names the directory of the coder modules.
#include <cstring>

#include "pixbase/exceptions.h"

namespace {

char g_client_name[PIXBASE_TEXT_EXTENT] = "Tessel";
char g_configure_path[PIXBASE_TEXT_EXTENT] = "c:\\Tesselworks\\";

// Copies `text` into `slot`, cut to fit with its terminator.
const char* Update(char (&slot)[PIXBASE_TEXT_EXTENT], const char* text) {
  if (text != nullptr) {
    size_t length = std::strlen(text);
    if (length >= sizeof slot) length = sizeof slot - 1;
    std::memmove(slot, text, length);
    slot[length] = '\0';
  }
  return slot;
}

}  // namespace

extern "C" {
const char* UpdateClientName(const char* name) { return Update(g_client_name, name); }
const char* UpdateConfigurePath(const char* path) { return Update(g_configure_path, path); }
}
