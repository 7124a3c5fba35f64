/*
 * Image attributes (key/value texts hanging off an image) and the library's
 * tokenizer, on which the key=value parser rests.
 */
#ifndef PIXBASE_ATTRIBUTES_H
#define PIXBASE_ATTRIBUTES_H

#include "api.h"
#include "image.h"

PIXBASE_BEGIN_DECLS

/* Adds a node (1), or with a null value deletes the first node of the key
 * (1); 0 when nothing changed. "Comment", "Label" and "Signature" keep one
 * value each; any other key may hold several nodes. */
int32_t PIXBASE_CALL SetImageAttribute(ImageRecord* image, const char* key, const char* value);
/* The first node of the key (letter case ignored); for a null key the first
 * node of the list. */
ImageAttribute* PIXBASE_CALL GetImageAttribute(ImageRecord* image, const char* key);
void PIXBASE_CALL DestroyImageAttributes(ImageRecord* image);
/* Sets the attribute that a text key=value describes; raises error 400
 * "Unable to parse attribute" when its buffer or the node cannot be had. */
void PIXBASE_CALL ParseImageAttribute(ImageRecord* image, const char* text);

/* The tokenizer's record, owned by the caller, passed to every call on one
 * line. */
enum { TokenStart = 0, TokenInside = 1, TokenQuoted = 2, TokenClosed = 3 };
enum { TokenUpperCase = 1, TokenLowerCase = 2 };
typedef struct TokenState {
  int32_t state;  /* TokenStart, TokenInside, TokenQuoted or TokenClosed */
  int32_t flags;  /* case folding, low two bits */
  char quote;     /* the quote that opened the current quoted stretch, or 0 */
  int32_t length; /* characters stored so far */
} TokenState;
PIXBASE_CHECK_LAYOUT(sizeof(TokenState) == 16, "TokenState is 16 bytes");
PIXBASE_CHECK_LAYOUT(offsetof(TokenState, length) == 12, "length at 12");

/* Takes the next token of `line` from `*position` into `token` (cut at
 * size - 1 characters; folded, outside quotes, by A to Z and a to z only,
 * whatever the locale). Returns 1 when the line holds nothing more at the
 * position, else 0 with the token, the break character that ended it and
 * whether it was quoted. */
int32_t PIXBASE_CALL NextToken(TokenState* state, int32_t flags, char* token, int32_t size,
                               const char* line, const char* blanks, const char* breaks,
                               const char* quotes, char escape, char* break_character,
                               int32_t* position, char* quoted);

PIXBASE_END_DECLS

#endif
