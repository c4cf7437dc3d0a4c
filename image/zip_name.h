// Turning the stored bytes of a ZIP member name into text.
//
// A name is UTF-8 when its bytes are valid UTF-8, which every name flagged as
// UTF-8 (general-purpose flag bit 11) should be; otherwise it is in the ZIP
// default code page 437, which also takes a flagged name that is not valid
// UTF-8, so that no two stored names decode to the same text. Listing and
// finding a member again both use this one conversion, so a name read from the
// listing always finds its member.
#pragma once

#include <QString>
#include <cstddef>

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool IsValidUtf8(const char* bytes, size_t length);

// Code page 437 to text; bytes below 0x80 are ASCII.
QString DecodeCp437(const char* bytes, size_t length);

// The name text of a member, from its stored bytes.
QString DecodeZipName(const char* bytes, size_t length);
