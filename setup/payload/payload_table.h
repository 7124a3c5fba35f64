// PayloadTable: the members packed into the payload resource, in order.
// The table is generated at build time from the files actually packed (see
// payload/CMakeLists.txt), so it always matches the resource's bytes.
#ifndef LUMAVIEW_SETUP_PAYLOAD_TABLE_H
#define LUMAVIEW_SETUP_PAYLOAD_TABLE_H

#include <cstdint>

namespace setup {

struct PayloadMember {
  const char* name;  // written to InstallRoot + name, case kept
  std::uint32_t size;
};

struct PayloadLayout {
  const PayloadMember* members;
  int count;
  std::uint32_t total;  // the sum of the sizes: the resource's size
};

extern const PayloadLayout PayloadTable;

// The payload is resource 1300 of the type named "RT_RCDATA".
constexpr int kPayloadResourceId = 1300;
constexpr const char* kPayloadResourceType = "RT_RCDATA";

// Offset of a member (0-based index) inside the payload.
std::uint32_t MemberOffset(int index);

}  // namespace setup

#endif
