// What the client tests of images, formats and coder modules share: the
// library's calls they make, bound by ordinal as a client binds them, and a
// module folder configured for the length of a test.
#ifndef LUMAVIEW_TESTS_CLIENT_FIXTURE_H
#define LUMAVIEW_TESTS_CLIENT_FIXTURE_H

#include <cstdint>
#include <string>

#include "library.h"
#include "pixbase/pixbase.h"

namespace lumaview::testing {

// The exports of the image and module operations, by their ordinals.
struct ClientCalls {
  const char* (*configure)(const char*) = Pixbase().Call<const char* (*)(const char*)>(107);
  const char* (*init_directories)() = Pixbase().Call<const char* (*)()>(49);
  int32_t (*load)(const char*) = Pixbase().Call<int32_t (*)(const char*)>(88);
  int32_t (*unload)(const char*) = Pixbase().Call<int32_t (*)(const char*)>(127);
  FormatEntry* (*find_format)(const char*) = Pixbase().Call<FormatEntry* (*)(const char*)>(42);
  int32_t (*detect)(const char*, char*) = Pixbase().Call<int32_t (*)(const char*, char*)>(110);
  ImageRecord* (*allocate)() = Pixbase().Call<ImageRecord* (*)()>(2);
  int32_t (*open)(ImageRecord*,
                  const char*) = Pixbase().Call<int32_t (*)(ImageRecord*, const char*)>(87);
  int32_t (*close)(ImageRecord*) = Pixbase().Call<int32_t (*)(ImageRecord*)>(13);
  void (*destroy_list)(ImageRecord*) = Pixbase().Call<void (*)(ImageRecord*)>(23);

  // True when every call above was found.
  bool complete() const {
    return configure && init_directories && load && unload && find_format && detect && allocate &&
           open && close && destroy_list;
  }
};

// The library's module folder set to `folder` (its directory list made anew)
// while this lives, and the configured folder it had put back after.
class ConfiguredModuleFolder {
 public:
  ConfiguredModuleFolder(const ClientCalls& calls, const std::string& folder)
      : calls_(calls), saved_(TextOf(calls.configure(nullptr))) {
    calls_.configure(folder.c_str());
    first_directory_ = TextOf(calls_.init_directories());
  }
  ~ConfiguredModuleFolder() { calls_.configure(saved_.c_str()); }
  ConfiguredModuleFolder(const ConfiguredModuleFolder&) = delete;
  ConfiguredModuleFolder& operator=(const ConfiguredModuleFolder&) = delete;

  // What initialising the directories gave: the first directory searched.
  const std::string& first_directory() const { return first_directory_; }

 private:
  static std::string TextOf(const char* text) { return text != nullptr ? text : ""; }

  const ClientCalls& calls_;
  std::string saved_;
  std::string first_directory_;
};

}  // namespace lumaview::testing

#endif
