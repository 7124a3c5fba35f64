// Loads the shipped PIXBASE library at run time and finds its exports as a
// client does: by ordinal on Win32 (GetProcAddress with MAKEINTRESOURCE), by
// the name the ordinal table gives natively, where shared objects have no
// ordinals.
#ifndef LUMAVIEW_TESTS_LIBRARY_H
#define LUMAVIEW_TESTS_LIBRARY_H

#include <string>

namespace lumaview::testing {

class Library {
 public:
  explicit Library(const std::string& path);
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // The address bound to `ordinal`, or null when the slot is empty.
  void* Export(int ordinal) const;

  template <typename Function>
  Function Call(int ordinal) const {
    return reinterpret_cast<Function>(Export(ordinal));
  }
  // A data export: the address of the library's pointer variable.
  template <typename Type>
  Type* Data(int ordinal) const {
    return static_cast<Type*>(Export(ordinal));
  }

 private:
  void* handle_ = nullptr;
};

// The folder separator of the platform the tests run on.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The path of the built library, next to the test programs.
std::string BuiltLibraryPath();
// The folder of the built library (bin), and a folder beside it: "modules"
// for the loader's test modules, "coders" for the distribution's coders.
std::string BuiltLibraryFolder();
std::string BesideBuiltLibrary(const char* folder);

// The built library, loaded once for the whole test program and kept (as
// clients keep it).
const Library& Pixbase();

// The exported name bound to `ordinal` in the ordinal table, or empty.
std::string ExportName(int ordinal);
// True when `ordinal` is bound to a data export (a constant text).
bool ExportIsData(int ordinal);

}  // namespace lumaview::testing

#endif
