// Characters of host text. The host's texts are in the Windows ANSI code
// page, which may be double-byte (932, 936, 949, 950): there the second byte
// of a character can be 0x5C, a backslash ("表" is 0x95 0x5C in 932). Every
// scan of host text for a separator or a suffix steps by character through
// these functions. On Linux host text is taken byte by byte.
//
// The command-line tools hand the same file layer paths in UTF-8: they set
// the process's text encoding to UTF-8 at start-up, and every step then goes
// by UTF-8 character, on every platform, and a UTF-8 byte is never taken for
// the lead byte of a double-byte character.
#pragma once

#include <cstddef>

namespace corvantide {

// A separator of a host path: "\" or "/", as Windows takes both.
bool IsPathSeparator(char c);

enum class TextEncoding {
    kHostCodePage,  // the host's ANSI code page (the plug-in; the default)
    kUtf8,          // UTF-8 (the command-line tools)
};

// The encoding of the texts stepped here and of the paths the file layer
// is given, for the whole process. [main thread, before any file is written]
void SetTextEncoding(TextEncoding encoding);
TextEncoding CurrentTextEncoding();

// The character after the one `at` starts; `at` must not be the terminator.
// A lead byte followed by the terminator is a character of its own.
const char* NextHostCharacter(const char* at);

// Length of the first `length` bytes of `text` up to and including the last
// character `isSeparator` accepts (a single-byte one); 0 when there is none.
std::size_t FolderPartLength(const char* text, std::size_t length, bool (*isSeparator)(char));

// True when a character of `text` starts `offset` bytes in (offset at most
// its length): a suffix found there is whole characters.
bool StartsHostCharacter(const char* text, std::size_t offset);

// The longest start of `text`, at most `limit` bytes, that ends between two
// characters: a text cut there never ends in half a character. Reads no
// further than byte `limit`.
std::size_t WholeCharactersWithin(const char* text, std::size_t limit);

}  // namespace corvantide
