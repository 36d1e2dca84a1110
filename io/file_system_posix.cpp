#include "io/file_system.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The permission bits a file created with fopen would get under the umask.
mode_t newFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

FILE* createUniqueFile(char* pattern, FileIdentity* identity, int* error)
{
    int descriptor = mkstemp(pattern);
    if (descriptor < 0) {
        *error = errno;
        return nullptr;
    }
    // mkstemp makes the file private; a saved file is as readable as any other.
    fchmod(descriptor, newFileMode());
    struct stat status;
    FILE* file = nullptr;
    if (fstat(descriptor, &status) != 0 || !(file = fdopen(descriptor, "wb"))) {
        *error = errno;
        close(descriptor);
        unlink(pattern);
        return nullptr;
    }
    *identity = FileIdentity { (uint64_t)status.st_dev, (uint64_t)status.st_ino };
    return file;
}

int syncFileToDisk(FILE* file)
{
    return fsync(fileno(file)) == 0 ? 0 : errno;
}

int renameReplacing(const char* from, const char* to)
{
    return rename(from, to) == 0 ? 0 : errno;
}

int renameKeeping(const char* from, const char* to)
{
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    int error = errno;
    // Kernels or filesystems without the no-replace rename say so with
    // EINVAL or ENOSYS; a hard link refuses a taken name just as well.
    if (error == EINVAL || error == ENOSYS)
        return linkIntoPlace(from, to);
    return error;
}

int linkIntoPlace(const char* from, const char* to)
{
    // link never replaces: a taken name fails with EEXIST.
    if (link(from, to) != 0)
        return errno;
    // The file is in place under both names now; losing the old name cannot
    // undo that, so its failure is not the caller's failure.
    unlink(from);
    return 0;
}

int removeFile(const char* name)
{
    return unlink(name) == 0 ? 0 : errno;
}

bool isFile(const char* name, const FileIdentity& identity)
{
    struct stat status;
    return lstat(name, &status) == 0 && (uint64_t)status.st_dev == identity.volume
        && (uint64_t)status.st_ino == identity.file;
}

bool nameExists(const char* name)
{
    struct stat status;
    return lstat(name, &status) == 0;
}

bool isDirectory(const char* name)
{
    struct stat status;
    return lstat(name, &status) == 0 && S_ISDIR(status.st_mode);
}

bool isFolder(const char* name)
{
    struct stat status;
    return stat(name, &status) == 0 && S_ISDIR(status.st_mode);
}

int openForReading(const char* name, int* error)
{
    // A directory opens, and says EISDIR at the first read.
    int descriptor = open(name, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        *error = errno;
    return descriptor;
}

int standardInputForReading()
{
    return STDIN_FILENO;
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

std::string workingDirectory(int* error)
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) {
            *error = errno;
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

const char* lastPathPart(const char* path)
{
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}
