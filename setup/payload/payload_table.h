// PayloadTable: the members packed into the payload resource, in order.
// The table is generated at build time by payload/pack_payload.py from the
// members as packed (see setup/CMakeLists.txt), so it always matches the
// resource's bytes.
#ifndef LUMAVIEW_SETUP_PAYLOAD_TABLE_H
#define LUMAVIEW_SETUP_PAYLOAD_TABLE_H

#include <cstdint>

#include "resources/resource_ids.h"

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

// The payload is resource IDR_PAYLOAD (resources/resource_ids.h) of the type
// given by this name.
constexpr const char* kPayloadResourceType = IDR_PAYLOAD_TYPE;

// Offset of a member (0-based index) inside the payload.
std::uint32_t MemberOffset(int index);

}  // namespace setup

#endif
