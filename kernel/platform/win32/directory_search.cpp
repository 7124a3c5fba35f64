// Directory search on Win32: FindFirstFileA, FindNextFileA and FindClose.
#include "platform/directory_search.h"

#include <windows.h>

#include <cstring>

namespace pixbase::platform {

namespace {

void CopyName(const WIN32_FIND_DATAA& data, char* name, size_t size) {
  if (size == 0) return;
  size_t length = strnlen(data.cFileName, sizeof data.cFileName);
  if (length >= size) length = size - 1;
  std::memcpy(name, data.cFileName, length);
  name[length] = '\0';
}

}  // namespace

void* BeginFileSearch(const char* pattern, char* name, size_t size) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return nullptr;
  CopyName(data, name, size);
  return search;
}

bool ContinueFileSearch(void* search, const char* /*pattern*/, char* name, size_t size) {
  WIN32_FIND_DATAA data;
  if (!FindNextFileA(static_cast<HANDLE>(search), &data)) return false;
  CopyName(data, name, size);
  return true;
}

void EndFileSearch(void* search) { FindClose(static_cast<HANDLE>(search)); }

}  // namespace pixbase::platform
