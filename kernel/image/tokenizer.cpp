// The library's tokenizer: splits a line into tokens at break characters and
// blanks, with quoted stretches, an escape character and optional case
// folding. The caller keeps the state and the position between calls.
#include <cstring>

#include "pixbase/attributes.h"
#include "services/character_classes.h"

namespace {

bool InSet(const char* set, char c) { return set != nullptr && std::strchr(set, c) != nullptr; }

// Stores one character, cut at size - 1 characters; folded outside quotes,
// A to Z and a to z only, whatever locale the client has chosen.
void Store(TokenState* state, char* token, int32_t size, char c, bool fold) {
  if (token == nullptr || state->length < 0 || state->length >= size - 1) return;
  if (fold && state->state != TokenQuoted) {
    if ((state->flags & 3) == TokenUpperCase)
      c = static_cast<char>(pixbase::text::ToUpper(c));
    else if ((state->flags & 3) == TokenLowerCase)
      c = static_cast<char>(pixbase::text::ToLower(c));
  }
  token[state->length++] = c;
}

}  // namespace

extern "C" {

int32_t NextToken(TokenState* state, int32_t flags, char* token, int32_t size, const char* line,
                  const char* blanks, const char* breaks, const char* quotes, char escape,
                  char* break_character, int32_t* position, char* quoted) {
  if (break_character != nullptr) *break_character = 0;
  if (quoted != nullptr) *quoted = 0;
  if (state == nullptr || line == nullptr || position == nullptr) return 1;
  int32_t at = *position;
  // A position before the line, or past its end, holds nothing more.
  if (at < 0 || std::memchr(line, '\0', static_cast<size_t>(at)) != nullptr || line[at] == '\0')
    return 1;
  state->state = TokenStart;
  state->flags = flags;
  state->quote = 0;
  state->length = 0;
  bool ended = false;
  while (!ended && line[at] != '\0') {
    char c = line[at];
    bool advance = true;
    if (InSet(breaks, c)) {
      if (state->state == TokenQuoted) {
        Store(state, token, size, c, true);
      } else {
        if (break_character != nullptr) *break_character = c;
        ended = true;  // the position moves past the break
      }
    } else if (InSet(quotes, c)) {
      if (state->state == TokenStart) {
        state->state = TokenQuoted;
        state->quote = c;
        if (quoted != nullptr) *quoted = 1;
      } else if (state->state == TokenQuoted) {
        if (c == state->quote) {
          state->state = TokenClosed;
          state->quote = 0;
        } else {
          Store(state, token, size, c, true);
        }
      } else {
        // The quote starts the next token.
        if (break_character != nullptr) *break_character = c;
        ended = true;
        advance = false;
      }
    } else if (InSet(blanks, c)) {
      if (state->state == TokenInside)
        state->state = TokenClosed;
      else if (state->state == TokenQuoted)
        Store(state, token, size, c, true);
    } else if (c == escape) {
      if (line[at + 1] == '\0') {
        Store(state, token, size, c, true);
        ended = true;  // the break output stays 0
      } else if (state->state == TokenStart) {
        state->state = TokenInside;
        advance = false;  // the same escape is taken again, now inside the token
      } else if (state->state == TokenClosed) {
        ended = true;
        advance = false;
      } else {
        Store(state, token, size, line[at + 1], false);
        ++at;
      }
    } else if (state->state == TokenClosed) {
      ended = true;
      advance = false;
    } else {
      if (state->state == TokenStart) state->state = TokenInside;
      Store(state, token, size, c, true);
    }
    if (advance) ++at;
  }
  if (token != nullptr && size > 0) {
    int32_t end = state->length;
    if (end < 0) end = 0;
    if (end > size - 1) end = size - 1;
    token[end] = '\0';
  }
  *position = at;
  return 0;
}

}  // extern "C"
