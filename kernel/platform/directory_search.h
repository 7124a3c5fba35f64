// Listing the files of a directory whose names match a pattern, one name at
// a time. Names are matched without regard to letter case, as Win32 does.
#ifndef PIXBASE_PLATFORM_DIRECTORY_SEARCH_H
#define PIXBASE_PLATFORM_DIRECTORY_SEARCH_H

#include <cstddef>

namespace pixbase::platform {

// Starts a search for `pattern` (a directory, a separator and a file name
// pattern with '*' and '?') and stores the first match's name (cut to
// `size`). Null when nothing matches.
void* BeginFileSearch(const char* pattern, char* name, size_t size);
// The next match's name; false when there is none.
bool ContinueFileSearch(void* search, const char* pattern, char* name, size_t size);
void EndFileSearch(void* search);

}  // namespace pixbase::platform

#endif
