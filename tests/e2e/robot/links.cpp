// Loading a shell link through CLSID_ShellLink and IPersistFile.
#include "links.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include "text.h"

namespace e2e {

LinkFields LoadLink(const std::string& path) {
  LinkFields fields;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return fields;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(Wide(path).c_str(), STGM_READ))) {
      wchar_t text[MAX_PATH];
      fields.loaded = true;
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
        fields.target = Utf8(text);
      if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) fields.arguments = Utf8(text);
      if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) fields.description = Utf8(text);
      int index = -1;
      if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index))) {
        fields.icon = Utf8(text);
        fields.icon_index = index;
      }
    }
    file->Release();
  }
  link->Release();
  return fields;
}

}  // namespace e2e
