#include "platform/IniFile.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fmb {
namespace {

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    });
    return lower;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Writes all bytes to the descriptor; false on any failure.
bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The bytes of a regular file; empty when it is absent, not a regular file or unreadable.
std::string ReadRegularFile(const std::filesystem::path& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return bytes;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        char buffer[16384];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                bytes.clear();
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return bytes;
}

} // namespace

IniFile::IniFile(std::filesystem::path path) : m_path(std::move(path)) {
    Parse(ReadRegularFile(m_path));
}

void IniFile::Parse(const std::string& bytes) {
    m_sections.push_back(Section{});
    if (bytes.empty()) {
        return;
    }
    if (bytes.find("\r\n") == std::string::npos && bytes.find('\n') != std::string::npos) {
        m_lineBreak = "\n";
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string raw = bytes.substr(start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        // Key and section names are ASCII; the value is decoded from CP932.
        const std::string text = cp932::Decode(raw).utf8;
        const std::string_view trimmed = TrimBlanks(text);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            Section section;
            section.hasHeader = true;
            section.nameLower = AsciiLower(TrimBlanks(
                trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos
                                                                  : close - 1)));
            section.lines.push_back(Line{std::move(raw), {}, {}});
            m_sections.push_back(std::move(section));
            continue;
        }
        Line line{std::move(raw), {}, {}};
        const auto equals = text.find('=');
        if (equals != std::string::npos) {
            line.keyLower = AsciiLower(TrimBlanks(std::string_view(text).substr(0, equals)));
            line.value = cp932::CutToBytes(TrimBlanks(std::string_view(text).substr(equals + 1)),
                                           kMaxValueBytes);
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

const IniFile::Section* IniFile::FindSection(std::string_view nameLower) const {
    for (const Section& section : m_sections) {
        if (section.hasHeader && section.nameLower == nameLower) {
            return &section;
        }
    }
    return nullptr;
}

IniFile::Section* IniFile::FindSection(std::string_view nameLower) {
    return const_cast<Section*>(std::as_const(*this).FindSection(nameLower));
}

std::string IniFile::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(AsciiLower(section));
    if (found == nullptr) {
        return {};
    }
    const std::string keyLower = AsciiLower(key);
    for (const Line& line : found->lines) {
        if (!line.keyLower.empty() && line.keyLower == keyLower) {
            return line.value;
        }
    }
    return {};
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    // A line break would end the value's line and turn the rest into lines of their own.
    const cp932::Encoded encodedValue = cp932::Encode(value);
    if (!encodedValue.Ok() || value.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    Line newLine{std::string(key) + "=" + encodedValue.bytes, AsciiLower(key),
                 cp932::CutToBytes(TrimBlanks(value), kMaxValueBytes)};

    Section* target = FindSection(AsciiLower(section));
    if (target == nullptr) {
        Section added;
        added.hasHeader = true;
        added.nameLower = AsciiLower(section);
        added.lines.push_back(Line{"[" + std::string(section) + "]", {}, {}});
        added.lines.push_back(std::move(newLine));
        m_sections.push_back(std::move(added));
        return true;
    }
    for (Line& line : target->lines) {
        if (!line.keyLower.empty() && line.keyLower == newLine.keyLower) {
            line = std::move(newLine);
            return true;
        }
    }
    // A new key goes after the last non-blank line of its section, before any blank lines that
    // separate it from the next section.
    auto insertAt = target->lines.end();
    while (insertAt != target->lines.begin() + 1 &&
           TrimBlanks(std::prev(insertAt)->raw).empty()) {
        --insertAt;
    }
    target->lines.insert(insertAt, std::move(newLine));
    return true;
}

bool IniFile::Save() const {
    std::string bytes;
    bool first = true;
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            if (!first) {
                bytes += m_lineBreak;
            }
            bytes += line.raw;
            first = false;
        }
    }
    if (!first) {
        bytes += m_lineBreak;
    }

    // Keep the mode of an existing file; a file the user made read-only is not replaced.
    mode_t mode = 0644;
    struct stat existing {};
    if (::stat(m_path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0) {
            return false;
        }
        mode = existing.st_mode & 07777;
    }

    std::string tempPath = (m_path.parent_path() / ("." + m_path.filename().string() + ".XXXXXX"))
                               .string();
    const int fd = ::mkstemp(tempPath.data());
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempPath.c_str(), m_path.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return false;
    }
    return true;
}

} // namespace fmb
