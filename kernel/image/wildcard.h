// File-name matching for the module search.
#ifndef PIXBASE_IMAGE_WILDCARD_H
#define PIXBASE_IMAGE_WILDCARD_H

namespace pixbase {

// 1 when `name` matches `pattern`, letters A to Z compared as lower case; a
// '*' matches any run of characters, the empty one included.
int MatchWildcard(const char* name, const char* pattern);

}  // namespace pixbase

#endif
