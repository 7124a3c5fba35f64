// What the coder module loader shares with the format registry: the module
// directory list and the removal of a library's formats before it goes.
#ifndef PIXBASE_IMAGE_REGISTRY_H
#define PIXBASE_IMAGE_REGISTRY_H

namespace pixbase {

// The module directory list: at most three owned texts, then null.
inline constexpr int kModuleDirectoryCount = 3;
char* const* ModuleDirectories();
// Releases every text of the list and leaves it empty.
void ClearModuleDirectories();

// Removes and releases every registered format whose content tests lie in
// the library `handle`, so that no test points into unloaded code.
void RemoveFormatsOfLibrary(void* handle);

}  // namespace pixbase

#endif
