// Shell links read back through the shell's own link object, as Explorer
// would: target, arguments, icon and description.
#ifndef LUMAVIEW_E2E_LINKS_H
#define LUMAVIEW_E2E_LINKS_H

#include <string>

namespace e2e {

struct LinkFields {
  bool loaded = false;
  std::string target;
  std::string arguments;
  std::string description;
  std::string icon;
  int icon_index = -1;
};

// COM must be initialised (the robot does it before any scenario).
LinkFields LoadLink(const std::string& path);

}  // namespace e2e

#endif
