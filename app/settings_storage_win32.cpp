#include "settings_storage.h"

#include <windows.h>

#include <vector>

#include "wide_text_win32.h"

namespace {

using WideName = std::vector<wchar_t>;

// The system's words for an error, in UTF-8 like the names they go with.
int failed(std::string& why, DWORD code)
{
    wchar_t text[256] = L"";
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, 256, nullptr);
    why = utf8FromWide(text);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' '))
        why.pop_back();
    if (length == 0 || why.empty())
        why = "error " + std::to_string(static_cast<long>(code));
    return 0;
}

int refused(std::string& why, const char* reason)
{
    why = reason;
    return 0;
}

// A pipe would block the reader until someone writes, and a device may answer
// for ever or do something on open: only files on a disk are settings files.
// Decided from the name alone, so that nothing is opened that should not be.
const char* notAFile(const WideName& name)
{
    // "NUL", "COM1", "\\.\pipe\x": the device namespace.
    wchar_t full[MAX_PATH + 8] = L"";
    const DWORD length = GetFullPathNameW(name.data(), MAX_PATH + 8, full, nullptr);
    if (length >= 4 && length < MAX_PATH + 8 && full[0] == L'\\' && full[1] == L'\\' && full[2] == L'.' &&
        full[3] == L'\\')
        return "is a device, not a file";
    const DWORD attributes = GetFileAttributesW(name.data());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "is a folder, not a file";
    return nullptr;
}

const char* notADiskFile(HANDLE file)
{
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK: return nullptr;
    case FILE_TYPE_PIPE: return "is a named pipe, not a file";
    case FILE_TYPE_CHAR: return "is a device, not a file";
    default: return "is not a regular file";
    }
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
    const WideName name = wideFromUtf8(path);
    if (const char* reason = notAFile(name))
        return refused(why, reason);
    HANDLE file = CreateFileW(name.data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return failed(why, GetLastError());
    if (const char* reason = notADiskFile(file)) {
        CloseHandle(file);
        return refused(why, reason);
    }
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
    const WideName name = wideFromUtf8(path);
    if (const char* reason = notAFile(name))
        return refused(why, reason);
    wchar_t temporary[MAX_PATH + 1] = L"";
    if (!GetTempFileNameW(wideFromUtf8(folderOf(path)).data(), L"kvc", 0, temporary))
        return failed(why, GetLastError());
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        DeleteFileW(temporary);
        return failed(why, code);
    }
    DWORD written = 0;
    const bool stored = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) &&
                        written == text.size() && FlushFileBuffers(file);
    DWORD code = stored ? 0 : GetLastError();
    if (!stored && code == 0)
        code = ERROR_WRITE_FAULT;
    CloseHandle(file);
    if (stored && !MoveFileExW(temporary, name.data(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        code = GetLastError();
    if (code != 0) {
        DeleteFileW(temporary);
        return failed(why, code);
    }
    return 1;
}
