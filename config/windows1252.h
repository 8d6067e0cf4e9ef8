#pragma once
// Windows-1252, the code page of the records' texts on every host and of the
// bytes that settings files turn into UTF-8 and back.

// The byte of a character; '?' for one that Windows-1252 lacks.
unsigned char windows1252FromUnicode(char32_t code);
char32_t unicodeFromWindows1252(unsigned char byte);

// The upper-case letter of a byte, as upper-case fields show it; a byte whose upper
// case is not in Windows-1252 (or that has none) stays as it is.
unsigned char windows1252Upper(unsigned char byte);
