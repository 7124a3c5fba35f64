// Image attributes: a doubly linked list of key/value nodes per image, with
// three keys that hold one value each, and the key=value parser.
#include "pixbase/attributes.h"

#include "pixbase/allocator.h"
#include "pixbase/text.h"
#include "services/raise.h"

namespace {

bool IsSpecialKey(const char* key) {
  return CompareNoCase(key, "Comment") == 0 || CompareNoCase(key, "Label") == 0 ||
         CompareNoCase(key, "Signature") == 0;
}

ImageAttribute* FindNode(ImageRecord* image, const char* key) {
  for (ImageAttribute* node = image->attributes; node != nullptr; node = node->next)
    if (CompareNoCase(node->key, key) == 0) return node;
  return nullptr;
}

void ReleaseNode(ImageAttribute* node) {
  ReleaseMemory(&node->key);
  ReleaseMemory(&node->value);
  ReleaseMemory(&node);
}

// Deletes the first node of `key`; false when there is none.
bool DeleteFirst(ImageRecord* image, const char* key) {
  ImageAttribute* node = FindNode(image, key);
  if (node == nullptr) return false;
  if (node->previous == nullptr)
    image->attributes = node->next;
  else
    node->previous->next = node->next;
  if (node->next != nullptr) node->next->previous = node->previous;
  ReleaseNode(node);
  return true;
}

enum class Added {
  Yes,
  No,      // nothing to add, or a copy failed (and reported itself)
  NoNode,  // the node could not be had; nothing reported
};

// Adds a node of `key` and a non-empty `value` (a special key replacing its
// earlier value).
Added AddAttribute(ImageRecord* image, const char* key, const char* value) {
  // The new node is complete before an earlier value of a special key goes,
  // so that a failed allocation leaves the attribute as it was.
  auto* node = static_cast<ImageAttribute*>(AllocateMemory(sizeof(ImageAttribute)));
  if (node == nullptr) return Added::NoNode;
  node->key = DuplicateString(key);
  node->value = DuplicateString(value);
  if (node->key == nullptr || node->value == nullptr) {
    ReleaseNode(node);
    return Added::No;
  }
  // From here on only the node's own copy of the key is read: the caller's
  // key may be the text of a node that the replacement deletes.
  const char* own_key = node->key;
  if (IsSpecialKey(own_key))
    while (DeleteFirst(image, own_key)) {
    }
  if (image->attributes == nullptr) {
    image->attributes = node;
    return Added::Yes;
  }
  ImageAttribute* after = image->attributes;
  while (CompareNoCase(after->key, own_key) != 0 && after->next != nullptr) after = after->next;
  node->previous = after;
  node->next = after->next;
  if (after->next != nullptr) after->next->previous = node;
  after->next = node;
  return Added::Yes;
}

}  // namespace

extern "C" {

int32_t SetImageAttribute(ImageRecord* image, const char* key, const char* value) {
  if (key == nullptr || *key == '\0') return 0;
  if (value == nullptr) return DeleteFirst(image, key) ? 1 : 0;
  if (*value == '\0') return 0;
  return AddAttribute(image, key, value) == Added::Yes ? 1 : 0;
}

ImageAttribute* GetImageAttribute(ImageRecord* image, const char* key) {
  if (key == nullptr) return image->attributes;
  return FindNode(image, key);
}

void DestroyImageAttributes(ImageRecord* image) {
  ImageAttribute* node = image->attributes;
  while (node != nullptr) {
    ImageAttribute* next = node->next;
    ReleaseNode(node);
    node = next;
  }
  image->attributes = nullptr;
}

void ParseImageAttribute(ImageRecord* image, const char* text) {
  auto* token = static_cast<char*>(AllocateMemory(PIXBASE_TEXT_EXTENT));
  if (token == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to parse attribute");
    return;
  }
  char* key = nullptr;
  char* value = nullptr;
  TokenState state = {};
  int32_t position = 0;
  int32_t count = 0;
  char break_character = 0;
  char quoted = 0;
  while (NextToken(&state, 0, token, PIXBASE_TEXT_EXTENT, text, "", "=", "'", '\0',
                   &break_character, &position, &quoted) == 0) {
    if (count == 0)
      key = DuplicateString(token);
    else if (count == 1)
      value = DuplicateString(token);
    ++count;
  }
  // A node that cannot be had is the parser's failure to report: it has no
  // result that could tell its caller.
  if (count >= 2 && key != nullptr && value != nullptr && *key != '\0' && *value != '\0' &&
      AddAttribute(image, key, value) == Added::NoNode)
    pixbase::RaiseOutOfMemory("Unable to parse attribute");
  ReleaseMemory(&token);
  ReleaseMemory(&key);
  ReleaseMemory(&value);
}

}  // extern "C"
