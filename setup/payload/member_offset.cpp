// Offsets of the payload members, from the generated PayloadTable.
#include "payload/payload_table.h"

namespace setup {

std::uint32_t MemberOffset(int index) {
  std::uint32_t offset = 0;
  for (int i = 0; i < index && i < PayloadTable.count; ++i) offset += PayloadTable.members[i].size;
  return offset;
}

}  // namespace setup
