// The few calls on files that differ between systems, with file names in
// UTF-8 everywhere inside the program. Each system has a file of its own:
// file_system_posix.cpp and file_system_windows.cpp. Failures return the
// reason as an errno value.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// What tells one file from another while both exist, whatever their names.
struct FileIdentity {
    uint64_t volume;
    uint64_t file;
};

// Creates `name` from `pattern`, a name ending in "XXXXXX" that is filled
// in, as a new file that did not exist, with the permissions a new file
// gets, and opens it for binary writing. Sets `identity`; returns null with
// `*error` set on failure, leaving nothing behind.
FILE* createUniqueFile(char* pattern, FileIdentity* identity, int* error);

// Makes the system write the file's data out to the disk; the stream is
// already flushed. 0 or the reason.
int syncFileToDisk(FILE* file);

// Gives the file `from` the name `to`, replacing whatever had it (a symbolic
// link itself, never its target). 0 or the reason.
int renameReplacing(const char* from, const char* to);

// Gives the file `from` the name `to` only if nothing has that name, in one
// step where the system can: EEXIST if it is taken.
int renameKeeping(const char* from, const char* to);

// Gives `from` the name `to` unless that name exists, by a hard link and
// then removal of the name `from`: the way to keep an existing file where
// there is no renaming that never replaces. 0 or the reason.
int linkIntoPlace(const char* from, const char* to);

// Removes the name. 0 or the reason.
int removeFile(const char* name);

// Whether `name` is the file with that identity (not one that took the name since).
bool isFile(const char* name, const FileIdentity& identity);

// Whether anything has the name, a dangling symbolic link included.
bool nameExists(const char* name);

// Whether the name is a directory itself (a symbolic link to one is not).
bool isDirectory(const char* name);

// Whether files can be put in the folder `name`: a directory, itself or
// through symbolic links.
bool isFolder(const char* name);

// Opens the file for reading bytes as they are; returns a descriptor for
// read() and close(), or -1 with `*error` set (EISDIR for a directory).
int openForReading(const char* name, int* error);

// The descriptor of standard input, set to pass bytes as they are.
int standardInputForReading();

// The program's arguments, its name first, in UTF-8: argv itself where the
// system passes UTF-8, the wide command line decoded where it does not.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// The working directory in UTF-8, or empty with `*error` set when the
// system cannot tell it (it may have been removed).
std::string workingDirectory(int* error);

// The last part of a path: the file's own name, after its folders.
const char* lastPathPart(const char* path);

// The folder a path names its file in: the path before its last part, or
// "." when it has none. The same on every system, from lastPathPart's rule.
inline std::string folderOfPath(const char* path)
{
    size_t length = (size_t)(lastPathPart(path) - path);
    return length ? std::string(path, length) : std::string(".");
}
