#pragma once
// Diagram texts are 8-bit, in a Windows code page: 1251 (Cyrillic and ASCII,
// the default) or 1252 (Western). These functions map them to and from
// Unicode. A character the code page cannot hold becomes "?".

#include <cstdint>
#include <string>

constexpr int DefaultCodePage = 1251;
inline bool IsSupportedCodePage(int cp) { return cp == 1251 || cp == 1252; }

char32_t ByteToUnicode(uint8_t b, int codePage);
// The byte for c, or '?' when the code page has no such character.
uint8_t UnicodeToByte(char32_t c, int codePage);

std::u32string DecodeCodepage(const std::string& bytes, int codePage);
std::string EncodeCodepage(const std::u32string& text, int codePage);
std::string CodepageToUtf8(const std::string& bytes, int codePage);
// Invalid UTF-8 sequences become "?" as well. When lost is given, every
// character that became "?" is appended to it, an invalid sequence as U+FFFD.
std::string Utf8ToCodepage(const std::string& utf8, int codePage, std::u32string* lost = nullptr);
