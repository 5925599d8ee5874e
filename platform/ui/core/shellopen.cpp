#include "platform/ui/core/shellopen.h"

#include <unistd.h>

#include <filesystem>

#include "platform/ui/core/services.h"

int AfxShellOpen(LPCTSTR lpszFolder, LPCTSTR lpszFile)
{
    const std::filesystem::path dir(lpszFolder ? lpszFolder : "");
    const std::filesystem::path name(lpszFile ? lpszFile : "");
    const std::filesystem::path full = name.is_absolute() ? name : dir / name;
    std::error_code error;
    if (!name.is_absolute() && !std::filesystem::is_directory(dir, error))
        return AFX_SHELL_PATH_NOT_FOUND;
    if (name.empty() || !std::filesystem::exists(full, error))
        return AFX_SHELL_FILE_NOT_FOUND;
    if (access(full.c_str(), R_OK) != 0)
        return AFX_SHELL_ACCESS_DENIED;
    if (!AfxGetOpenerService()->OpenFile(full.c_str()))
        return AFX_SHELL_NO_ASSOCIATION;
    return AFX_SHELL_OPENED;
}
