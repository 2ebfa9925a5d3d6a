#include "platform/TemporaryFile.h"

#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/TemporaryName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fmb {
namespace {

// Random names clash only by accident; a few tries get past one.
constexpr int kCreationTries = 8;

} // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path& folder, std::error_code& error) {
    error.clear();
    for (int attempt = 0; attempt < kCreationTries; ++attempt) {
        m_path = folder / MakeTemporaryName();
        m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                      0600);
        if (m_fd >= 0) {
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error.assign(errno, std::generic_category());
    m_path.clear();
}

TemporaryFile::~TemporaryFile() {
    RemoveUnpublished();
}

std::error_code TemporaryFile::Close() {
    if (m_fd < 0) {
        return {};
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

void TemporaryFile::RemoveUnpublished() {
    Close();
    if (!m_published && !m_path.empty()) {
        ::unlink(m_path.c_str());
    }
    m_path.clear();
}

std::error_code TemporaryFile::PublishAs(const std::filesystem::path& final, PublishMethod first) {
    if (std::error_code error = Close()) {
        return error;
    }
    const std::error_code error = PublishWithoutReplacing(m_path, final, first);
    m_published = !error;
    return error;
}

std::error_code TemporaryFile::ReplaceAs(const std::filesystem::path& final) {
    if (std::error_code error = Close()) {
        return error;
    }
    const std::error_code error = ReplaceInOneStep(m_path, final);
    m_published = !error;
    return error;
}

void RemoveStaleTemporaries(const std::string& folder) {
    const std::string prefix = WithTrailingSeparator(folder);
    const auto now = std::chrono::system_clock::now();
    ListFolder(folder, [&](std::string_view name, EntryKind kind) {
        if (kind != EntryKind::File || !IsTemporaryName(name)) {
            return true;
        }
        const std::filesystem::path path = ToFsPath(prefix + std::string(name));
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            return true;
        }
        const auto written = std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec);
        if (now - written > kStaleTemporaryAge) {
            ::unlink(path.c_str());
        }
        return true;
    });
}

} // namespace fmb
