#include "platform/ReplacingFile.h"

#include "platform/PathText.h"
#include "platform/TemporaryName.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fmb {
namespace {

// A name made of twelve random letters meets a file left over from before only by chance; a few
// tries are plenty.
constexpr int kCreateTries = 8;

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

// The temporary's path: the folder part of path (nothing for a bare name) and a fresh name.
std::string TemporaryBeside(const std::string& path) {
    const auto separator = path.rfind(kPathSeparator);
    const std::string folder =
        separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
    return folder + MakeTemporaryName();
}

} // namespace

ReplacingFile::~ReplacingFile() {
    Discard();
}

std::error_code ReplacingFile::Commit() {
    const std::error_code error = CloseAndRename();
    if (error) {
        Discard();
        return error;
    }
    m_temporary.clear(); // it has the final name now
    return {};
}

#ifdef _WIN32

std::error_code ReplacingFile::Create(const std::string& path) {
    Discard();
    for (int attempt = 0; attempt < kCreateTries; ++attempt) {
        const std::string temporary = TemporaryBeside(path);
        // "x": fails when the name is taken, so nothing is ever written over.
        m_file = _wfopen(ToFsPath(temporary).c_str(), L"wbx");
        if (m_file != nullptr) {
            m_path = path;
            m_temporary = temporary;
            return {};
        }
        if (errno != EEXIST)
            return LastError();
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code ReplacingFile::Write(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        return LastError();
    return {};
}

std::error_code ReplacingFile::CloseAndRename() {
    std::error_code error;
    if (std::fflush(m_file) != 0 || _commit(_fileno(m_file)) != 0)
        error = LastError();
    if (std::fclose(std::exchange(m_file, nullptr)) != 0 && !error)
        error = LastError();
    if (!error)
        std::filesystem::rename(ToFsPath(m_temporary), ToFsPath(m_path), error);
    return error;
}

void ReplacingFile::Discard() {
    if (m_file != nullptr)
        std::fclose(std::exchange(m_file, nullptr));
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(ToFsPath(m_temporary), ignored);
        m_temporary.clear();
    }
}

#else

std::error_code ReplacingFile::Create(const std::string& path) {
    Discard();
    struct stat existing {};
    const bool replaces = stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    for (int attempt = 0; attempt < kCreateTries; ++attempt) {
        const std::string temporary = TemporaryBeside(path);
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_fd = fd;
            m_path = path;
            m_temporary = temporary;
            // The new file is shared as the old one was.
            if (replaces && fchmod(fd, existing.st_mode & 07777) != 0) {
                const std::error_code error = LastError();
                Discard();
                return error;
            }
            return {};
        }
        if (errno != EEXIST)
            return LastError();
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code ReplacingFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(m_fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// fsync before the rename: otherwise a crash soon after could leave the new name on an empty
// file, and the old book gone.
std::error_code ReplacingFile::CloseAndRename() {
    std::error_code error;
    if (fsync(m_fd) != 0)
        error = LastError();
    // close reports what a network drive could not write until then.
    if (close(std::exchange(m_fd, -1)) != 0 && !error)
        error = LastError();
    if (!error && rename(m_temporary.c_str(), m_path.c_str()) != 0)
        error = LastError();
    return error;
}

void ReplacingFile::Discard() {
    if (m_fd >= 0)
        close(std::exchange(m_fd, -1));
    if (!m_temporary.empty()) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

#endif

} // namespace fmb
