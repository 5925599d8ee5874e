// Fixed-width integer types of the platform layer. Every word that stored
// files and solver arrays hold is 32 bits wide, whatever the host's long is.
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::int32_t LONG;
typedef std::uint32_t DWORD;
typedef std::uint32_t UINT;
typedef std::int32_t BOOL;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef char TCHAR;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// An opaque place in a list (CObList); null means "none".
struct AfxPositionTag;
typedef AfxPositionTag* POSITION;

// Schema flag of a class whose Serialize reads older layouts itself
// (CArchive::GetObjectSchema tells which one it meets).
#define VERSIONABLE_SCHEMA (0x80000000u)

static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(WORD) == 2 && sizeof(BYTE) == 1);
