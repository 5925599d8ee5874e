// Opening a file with the desktop's program for it, with the checks that
// say why it could not be opened. The codes are the ones a caller maps to
// its messages; on Linux only these arise:
//   2  the file does not exist in the folder,
//   3  the folder does not exist,
//   5  the file cannot be read,
//   31 no program opens the file.
// Any code above 32 means it opened.
#pragma once

#include "platform/afx/types.h"

constexpr int AFX_SHELL_FILE_NOT_FOUND = 2;
constexpr int AFX_SHELL_PATH_NOT_FOUND = 3;
constexpr int AFX_SHELL_ACCESS_DENIED = 5;
constexpr int AFX_SHELL_NO_ASSOCIATION = 31;
constexpr int AFX_SHELL_OPENED = 33;

// Opens folder/file (file alone when it is absolute) through the opener
// service after the checks above.
int AfxShellOpen(LPCTSTR lpszFolder, LPCTSTR lpszFile);
