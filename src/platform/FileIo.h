#pragma once

#include "platform/NativeFile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// The few calls on open files that the program's own writing needs, over the platform's calls.
namespace fmb {

// The bytes of a regular file, read to its end (a file that grows while it is read included);
// empty when it is absent, not a regular file or unreadable.
std::string ReadRegularFile(const std::filesystem::path& path);

// Creates a new, empty file at path for reading and writing by its owner, failing with
// std::errc::file_exists when anything (a link included) already has that name.
NativeFile CreateNewFile(const std::filesystem::path& path, std::error_code& error);

// Writes all bytes at the file's current end of writing.
std::error_code WriteAll(NativeFile file, std::string_view bytes);

// Waits until the file's data are on the disk.
std::error_code FlushToDisk(NativeFile file);

// Closes the file; a write error the system delayed (a network drive, a full disk) shows up here.
std::error_code CloseFile(NativeFile file);

// Gives the open file the permissions of the file at existing, so that a file taking its place is
// shared as it was; when there is none, those any new file gets (0666 less the umask). On Windows
// a new file takes its folder's sharing, the read-only mark is all there is to give, and a
// read-only file is never replaced, so nothing is to be done there.
std::error_code TakePermissionsOf(const std::filesystem::path& existing, NativeFile file);

// Removes the file at path, a read-only mark notwithstanding; best effort. Only for files the
// program made itself.
void RemoveOwnFile(const std::filesystem::path& path);

} // namespace fmb
