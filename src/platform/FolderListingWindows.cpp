#include "platform/FolderListing.h"

#include "platform/PathText.h"
#include "platform/WindowsSupport.h"

#include <windows.h>

#include <utility>

namespace fmb {

// With the long-path prefix the platform accepts paths of this many characters.
const std::size_t kMaxPathBytes = 32767;

namespace {

// A folder reached through a symbolic link or a junction.
bool IsLink(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (entry.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
            entry.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

EntryKind KindOf(const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return EntryKind::File;
    }
    return IsLink(entry) ? EntryKind::FolderLink : EntryKind::Folder;
}

} // namespace

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : m_path(std::move(other.m_path)) {
    other.m_path.clear();
}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    m_path = std::move(other.m_path);
    other.m_path.clear();
    return *this;
}

OpenFolder::~OpenFolder() = default;

OpenFolder OpenFolder::Open(const std::string& path, std::error_code& error) {
    OpenFolder folder;
    const std::filesystem::path fsPath = ToFsPath(path);
    const DWORD attributes = GetFileAttributesW(windows::LongPath(fsPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = windows::LastError();
        return folder;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        error = std::make_error_code(std::errc::not_a_directory);
        return folder;
    }
    error.clear();
    folder.m_path = fsPath;
    return folder;
}

OpenFolder OpenFolder::OpenSubfolder(const std::string& name, std::error_code& error) const {
    return Open(FromFsPath(m_path / ToFsPath(name)), error);
}

bool OpenFolder::IsOpen() const {
    return !m_path.empty();
}

bool OpenFolder::IsSameFolderAs(const OpenFolder& other) const {
    std::error_code error;
    return IsOpen() && other.IsOpen() && std::filesystem::equivalent(m_path, other.m_path, error);
}

// One call fetches many entries at a time (FIND_FIRST_EX_LARGE_FETCH), each with its attributes,
// so telling files from folders costs no call per entry; the short 8.3 names are not asked for.
std::error_code OpenFolder::List(const FolderVisitor& visit) const {
    std::wstring pattern = windows::LongPath(m_path);
    if (!pattern.ends_with(L'\\')) {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? std::error_code() : windows::ErrorFromCode(code);
    }
    std::error_code error;
    for (;;) {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L".." && !visit(windows::ToUtf8(name), KindOf(entry))) {
            break;
        }
        if (!FindNextFileW(find, &entry)) {
            if (GetLastError() != ERROR_NO_MORE_FILES) {
                error = windows::LastError();
            }
            break;
        }
    }
    FindClose(find);
    return error;
}

std::uint64_t OpenFolder::FileSize(const std::string& name) const {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(m_path / ToFsPath(name), error);
    return error ? 0 : size;
}

std::error_code ListFolder(const std::string& folder, const FolderVisitor& visit) {
    std::error_code error;
    const OpenFolder open = OpenFolder::Open(folder, error);
    return open.IsOpen() ? open.List(visit) : error;
}

} // namespace fmb
