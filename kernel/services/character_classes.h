// Character classes of the library's texts: those of the "C" locale, with
// bytes taken as unsigned, so that bytes 128 to 255 belong to no class
// whatever locale the process has chosen.
#ifndef PIXBASE_CHARACTER_CLASSES_H
#define PIXBASE_CHARACTER_CLASSES_H

namespace pixbase::text {

inline bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool IsPrintable(unsigned char c) { return c >= 0x20 && c <= 0x7E; }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
inline int HexValue(unsigned char c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}
// Case conversion of letters; every other value comes back unchanged.
inline int ToUpper(int c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }
inline int ToLower(int c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }
inline bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace pixbase::text

#endif
