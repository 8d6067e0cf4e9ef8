#include "settings_storage.h"

#include <windows.h>

#include <vector>

#include "port_table.h"

namespace {

int failed(std::string& why, DWORD code)
{
    why = systemErrorText(static_cast<int>(code));
    return 0;
}

// The folder part of a path, "." when it names none.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    // The root keeps its backslash: "C:" alone names the drive's current folder.
    const bool root = slash == 0 || (slash == 2 && path[1] == ':');
    return path.substr(0, root ? slash + 1 : slash);
}

} // namespace

int readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& why)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return failed(why, GetLastError());
    bytes.clear();
    std::vector<char> buffer(16384);
    while (bytes.size() <= maxBytes) {
        DWORD n = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &n, NULL)) {
            const DWORD code = GetLastError();
            CloseHandle(file);
            return failed(why, code);
        }
        if (n == 0)
            break;
        bytes.append(buffer.data(), n);
    }
    CloseHandle(file);
    if (bytes.size() > maxBytes + 1)
        bytes.resize(maxBytes + 1);
    return 1;
}

int writeFileAtomically(const std::string& path, const std::string& text, std::string& why)
{
    char temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(folderOf(path).c_str(), "kvc", 0, temporary))
        return failed(why, GetLastError());
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        DeleteFileA(temporary);
        return failed(why, code);
    }
    DWORD written = 0;
    const bool stored = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) &&
                        written == text.size() && FlushFileBuffers(file);
    DWORD code = stored ? 0 : GetLastError();
    if (!stored && code == 0)
        code = ERROR_WRITE_FAULT;
    CloseHandle(file);
    if (stored && !MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        code = GetLastError();
    if (code != 0) {
        DeleteFileA(temporary);
        return failed(why, code);
    }
    return 1;
}
