#include "io/file_system.h"
#include "io/wide_name_windows.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

std::wstring wideName(const char* name)
{
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, &wide[0], length);
    wide.resize((size_t)length - 1);
    return wide;
}

namespace {

std::string utf8Name(const wchar_t* name)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string narrow((size_t)length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, name, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize((size_t)length - 1);
    return narrow;
}

// The errno value that says what the system's error code says.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_INVALID_NAME:
        return EINVAL;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    default:
        return EIO;
    }
}

int lastError()
{
    return errnoOf(GetLastError());
}

bool identityOf(HANDLE handle, FileIdentity* identity)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information))
        return false;
    *identity = FileIdentity { information.dwVolumeSerialNumber,
        ((uint64_t)information.nFileIndexHigh << 32) | information.nFileIndexLow };
    return true;
}

// Six characters for a temporary name, different on every call.
void fillUniqueCharacters(char* x, uint64_t seed)
{
    static const char LETTERS[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int32_t i = 0; i < 6; ++i) {
        x[i] = LETTERS[seed % 36];
        seed /= 36;
    }
}

} // namespace

FILE* createUniqueFile(char* pattern, FileIdentity* identity, int* error)
{
    char* x = pattern + strlen(pattern) - 6;
    static uint64_t calls = 0;
    for (int32_t attempt = 0; attempt < 100; ++attempt) {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        uint64_t seed = (uint64_t)counter.QuadPart * 2654435761u + GetCurrentProcessId() + ++calls;
        fillUniqueCharacters(x, seed);
        std::wstring name = wideName(pattern);
        if (name.empty()) {
            *error = EINVAL;
            return nullptr;
        }
        // CREATE_NEW fails if the name exists: the file is ours alone.
        HANDLE handle = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            DWORD reason = GetLastError();
            if (reason == ERROR_FILE_EXISTS || reason == ERROR_ALREADY_EXISTS)
                continue;
            *error = errnoOf(reason);
            return nullptr;
        }
        int descriptor = identityOf(handle, identity)
            ? _open_osfhandle((intptr_t)handle, _O_WRONLY | _O_BINARY)
            : -1;
        FILE* file = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
        if (!file) {
            *error = EIO;
            if (descriptor >= 0)
                _close(descriptor);
            else
                CloseHandle(handle);
            DeleteFileW(name.c_str());
            return nullptr;
        }
        return file;
    }
    *error = EEXIST;
    return nullptr;
}

int syncFileToDisk(FILE* file)
{
    HANDLE handle = (HANDLE)_get_osfhandle(_fileno(file));
    return FlushFileBuffers(handle) ? 0 : lastError();
}

int renameReplacing(const char* from, const char* to)
{
    std::wstring wideFrom = wideName(from), wideTo = wideName(to);
    if (wideFrom.empty() || wideTo.empty())
        return EINVAL;
    // Written through: the new name is on the disk when the call returns.
    if (!MoveFileExW(
            wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return lastError();
    return 0;
}

int renameKeeping(const char* from, const char* to)
{
    std::wstring wideFrom = wideName(from), wideTo = wideName(to);
    if (wideFrom.empty() || wideTo.empty())
        return EINVAL;
    // Without MOVEFILE_REPLACE_EXISTING the move fails if the name is taken,
    // in one step.
    if (!MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH))
        return lastError();
    return 0;
}

int linkIntoPlace(const char* from, const char* to)
{
    std::wstring wideFrom = wideName(from), wideTo = wideName(to);
    if (wideFrom.empty() || wideTo.empty())
        return EINVAL;
    // A hard link never replaces: a taken name fails.
    if (!CreateHardLinkW(wideTo.c_str(), wideFrom.c_str(), nullptr))
        return lastError();
    DeleteFileW(wideFrom.c_str());
    return 0;
}

int removeFile(const char* name)
{
    std::wstring wide = wideName(name);
    if (wide.empty())
        return EINVAL;
    return DeleteFileW(wide.c_str()) ? 0 : lastError();
}

bool isFile(const char* name, const FileIdentity& identity)
{
    std::wstring wide = wideName(name);
    if (wide.empty())
        return false;
    // Opened for nothing but its information, and not followed if it is a link.
    HANDLE handle = CreateFileW(wide.c_str(), 0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    FileIdentity found;
    bool same = identityOf(handle, &found) && found.volume == identity.volume
        && found.file == identity.file;
    CloseHandle(handle);
    return same;
}

bool nameExists(const char* name)
{
    std::wstring wide = wideName(name);
    return !wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const char* name)
{
    std::wstring wide = wideName(name);
    if (wide.empty())
        return false;
    DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
        && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool isFolder(const char* name)
{
    std::wstring wide = wideName(name);
    if (wide.empty())
        return false;
    // The attributes of a link's target, which is what a file put there meets.
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    HANDLE folder
        = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    bool directory = GetFileInformationByHandle(folder, &information)
        && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(folder);
    return directory;
}

int openForReading(const char* name, int* error)
{
    std::wstring wide = wideName(name);
    if (wide.empty()) {
        *error = ENOENT;
        return -1;
    }
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = EISDIR; // as the other systems say at the first read
        return -1;
    }
    int descriptor = _wopen(wide.c_str(), _O_RDONLY | _O_BINARY);
    if (descriptor < 0)
        *error = errno;
    return descriptor;
}

int standardInputForReading()
{
    // Text mode would turn line ends and stop at a Ctrl+Z.
    _setmode(_fileno(stdin), _O_BINARY);
    return _fileno(stdin);
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    // The narrow argv holds the system's code page, which cannot hold every
    // letter of a file name: decode the wide command line instead.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8Name(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::string workingDirectory(int* error)
{
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring wide(length, L'\0');
    DWORD written = length ? GetCurrentDirectoryW(length, &wide[0]) : 0;
    if (written == 0 || written >= length) {
        *error = lastError();
        return std::string();
    }
    wide.resize(written);
    return utf8Name(wide.c_str());
}

const char* lastPathPart(const char* path)
{
    const char* part = path;
    for (const char* c = path; *c; ++c)
        if (*c == '/' || *c == '\\' || *c == ':')
            part = c + 1;
    return part;
}
