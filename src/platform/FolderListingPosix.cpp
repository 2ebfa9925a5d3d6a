#include "platform/FolderListing.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <utility>

namespace fmb {

const std::size_t kMaxPathBytes = PATH_MAX;

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// The kind of an entry that is a link, or whose type the listing did not tell. A link that leads
// round in a circle counts as a folder link: a walk then tells of a folder it could not open,
// rather than taking the link for a document.
EntryKind KindOf(int folderFd, const char* name, unsigned char type) {
    struct stat info {};
    if (type == DT_UNKNOWN) {
        if (fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::File;
        if (!S_ISLNK(info.st_mode))
            return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::File;
    }
    if (fstatat(folderFd, name, &info, 0) != 0)
        return errno == ELOOP ? EntryKind::FolderLink : EntryKind::File;
    return S_ISDIR(info.st_mode) ? EntryKind::FolderLink : EntryKind::File;
}

// Large enough for a folder of a few hundred stored names in one read.
constexpr std::size_t kListingBufferSize = 32768;

} // namespace

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_identity(other.m_identity), m_listed(other.m_listed) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_identity = other.m_identity;
        m_listed = other.m_listed;
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    if (m_fd >= 0)
        close(m_fd);
}

OpenFolder OpenFolder::Open(const std::string& path, std::error_code& error) {
    return Adopt(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), error);
}

OpenFolder OpenFolder::OpenSubfolder(const std::string& name, std::error_code& error) const {
    return Adopt(openat(m_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), error);
}

OpenFolder OpenFolder::Adopt(int fd, std::error_code& error) {
    OpenFolder folder;
    if (fd < 0) {
        error = LastError();
        return folder;
    }
    error.clear();
    folder.m_fd = fd;
    return folder;
}

// Asked only when a walk meets a folder link, so a walk without links spends no status call on
// its folders.
std::optional<OpenFolder::Identity> OpenFolder::IdentityOf() const {
    if (!m_identity && m_fd >= 0) {
        struct stat info {};
        if (fstat(m_fd, &info) == 0) {
            m_identity = Identity{info.st_dev, info.st_ino};
        }
    }
    return m_identity;
}

bool OpenFolder::IsOpen() const {
    return m_fd >= 0;
}

bool OpenFolder::IsSameFolderAs(const OpenFolder& other) const {
    const std::optional<Identity> mine = IdentityOf();
    return mine && mine == other.IdentityOf();
}

// The entries are read straight from the folder's own descriptor, from its start, into a buffer
// of the listing's own: the folder stays open for its subfolders, and no second descriptor is
// opened. The kernel reports each entry's type, which saves a status call per file.
std::error_code OpenFolder::List(const FolderVisitor& visit) const {
    // A folder just opened is at its start already; a walk lists each folder once.
    if (m_listed && lseek(m_fd, 0, SEEK_SET) != 0)
        return LastError();
    m_listed = true;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kListingBufferSize);
    while (true) {
        const ssize_t filled = getdents64(m_fd, buffer.get(), kListingBufferSize);
        if (filled < 0)
            return LastError();
        if (filled == 0)
            return {};
        for (ssize_t offset = 0; offset < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer.get() + offset);
            offset += entry->d_reclen;
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            const EntryKind kind = entry->d_type == DT_DIR   ? EntryKind::Folder
                                   : entry->d_type == DT_REG ? EntryKind::File
                                   : entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN
                                       ? KindOf(m_fd, name, entry->d_type)
                                       : EntryKind::File;
            if (!visit(name, kind))
                return {};
        }
    }
}

// Relative to the open folder, without a walk down the whole path.
std::uint64_t OpenFolder::FileSize(const std::string& name) const {
    struct stat info {};
    if (fstatat(m_fd, name.c_str(), &info, 0) != 0)
        return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

std::error_code ListFolder(const std::string& folder, const FolderVisitor& visit) {
    std::error_code error;
    const OpenFolder open = OpenFolder::Open(folder, error);
    return open.IsOpen() ? open.List(visit) : error;
}

} // namespace fmb
