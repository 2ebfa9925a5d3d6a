#include "support/TestMounts.h"

#include "platform/PathText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/mount.h>

namespace fmb::test {
namespace {

std::string Quoted(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TestMount::TestMount() : m_path(m_dir.Path() / "mnt") {
    std::filesystem::create_directory(m_path);
}

std::string TestMount::Text() const {
    return FromFsPath(m_path);
}

TmpfsMount::TmpfsMount(std::size_t bytes) : m_bytes(bytes) {
    const std::string options = "size=" + std::to_string(bytes);
    m_mounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!m_mounted) {
        m_why = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
    }
}

TmpfsMount::~TmpfsMount() {
    if (m_mounted) {
        ::umount2(m_path.c_str(), MNT_DETACH);
    }
}

bool TmpfsMount::RemountReadOnly() {
    const std::string options = "size=" + std::to_string(m_bytes);
    return ::mount("tmpfs", m_path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options.c_str()) == 0;
}

FatMount::FatMount(std::size_t bytes) {
    const std::filesystem::path image = m_dir.Path() / "fat.img";
    if (!Run("command -v fusefat") || !Run("command -v mkfs.vfat")) {
        m_why = "fusefat or mkfs.vfat is not installed";
        return;
    }
    if (!Run("truncate -s " + std::to_string(bytes) + " " + Quoted(image)) ||
        !Run("mkfs.vfat " + Quoted(image))) {
        m_why = "cannot make a FAT image";
        return;
    }
    m_mounted = Run("fusefat -o rw+ " + Quoted(image) + " " + Quoted(m_path));
    if (!m_mounted) {
        m_why = "cannot mount a FAT image with fusefat (is FUSE available?)";
    }
}

FatMount::~FatMount() {
    if (m_mounted) {
        if (!Run("fusermount -u " + Quoted(m_path))) {
            Run("umount -l " + Quoted(m_path));
        }
    }
}

} // namespace fmb::test
