#include "platform/IniFile.h"

#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/PathText.h"
#include "platform/ReadOnlyMark.h"
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <utility>

namespace fmb {
namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool IsAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Section and key names are matched without regard to the case of ASCII letters. Both texts are
// UTF-8, where no byte of a multi-byte character is a letter.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The key of a key line in the file's bytes compared with a key name. A key of other characters
// than ASCII is decoded first, so that the second byte of a double-byte character is never
// taken for a letter.
bool KeyEquals(std::string_view keyBytes, std::string_view key) {
    if (!IsAsciiText(keyBytes)) {
        return EqualsIgnoringCase(cp932::Decode(keyBytes).utf8, key);
    }
    return EqualsIgnoringCase(keyBytes, key);
}

} // namespace

IniFile::IniFile(std::filesystem::path path)
    : m_path(std::move(path)), m_bytes(ReadRegularFile(m_path)) {
    Parse();
}

void IniFile::Parse() {
    const std::string_view bytes = m_bytes;
    if (bytes.find("\r\n") == std::string_view::npos &&
        bytes.find('\n') != std::string_view::npos) {
        m_lineBreak = "\n";
    }
    // Lines before the first section header belong to no section and are only kept.
    bool inSection = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        if (end > start && bytes[end - 1] == '\r') {
            --end;
        }
        const std::size_t lineStart = start;
        start = next;
        // Blanks and "=" are never the second byte of a double-byte character, nor is the first
        // byte of a line, so lines are told apart in their own bytes; only a header is decoded,
        // to find its "]".
        const std::string_view trimmed = TrimBlanks(bytes.substr(lineStart, end - lineStart));
        if (trimmed.empty()) {
            continue;
        }
        if (trimmed.front() == '[') {
            const std::string header = cp932::Decode(trimmed).utf8;
            const auto close = header.find(']');
            Section section;
            section.name = TrimBlanks(std::string_view(header).substr(
                1, close == std::string::npos ? std::string::npos : close - 1));
            section.contentEnd = end;
            m_sections.push_back(std::move(section));
            inSection = true;
            continue;
        }
        if (!inSection) {
            continue;
        }
        Section& section = m_sections.back();
        section.contentEnd = end;
        if (trimmed.find('=') != std::string_view::npos) {
            section.keys.push_back(KeyLine{lineStart, end, KeyLine::kAsRead});
        }
    }
}

std::string_view IniFile::LineOf(const KeyLine& line) const {
    if (line.written != KeyLine::kAsRead) {
        return m_written[line.written];
    }
    return std::string_view(m_bytes).substr(line.begin, line.end - line.begin);
}

const IniFile::KeyLine* IniFile::FindKey(const Section& section, std::string_view key) const {
    for (const KeyLine& line : section.keys) {
        const std::string_view text = LineOf(line);
        if (KeyEquals(TrimBlanks(text.substr(0, text.find('='))), key)) {
            return &line;
        }
    }
    return nullptr;
}

// The first section of that name: a later one of the same name is never read.
const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    for (const Section& section : m_sections) {
        if (EqualsIgnoringCase(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

std::string IniFile::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    const KeyLine* line = found ? FindKey(*found, key) : nullptr;
    if (line == nullptr) {
        return {};
    }
    const std::string_view text = LineOf(*line);
    const std::string_view value = TrimBlanks(text.substr(text.find('=') + 1));
    return cp932::CutToBytes(cp932::Decode(value).utf8, kMaxValueBytes);
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    // A line break would end the value's line and turn the rest into lines of their own.
    const cp932::Encoded encodedValue = cp932::Encode(value);
    if (!encodedValue.Ok() || value.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    auto* target = const_cast<Section*>(FindSection(section));
    if (target == nullptr) {
        m_sections.push_back(Section{std::string(section), KeyLine::kAdded, {}});
        target = &m_sections.back();
    }
    m_written.push_back(std::string(key) + "=" + encodedValue.bytes);
    if (auto* line = const_cast<KeyLine*>(FindKey(*target, key))) {
        line->written = m_written.size() - 1;
    } else {
        target->keys.push_back(KeyLine{KeyLine::kAdded, KeyLine::kAdded, m_written.size() - 1});
    }
    return true;
}

void IniFile::AppendAddedKeys(const Section& section, std::string& out) const {
    for (const KeyLine& line : section.keys) {
        if (line.begin == KeyLine::kAdded) {
            out += m_lineBreak;
            out += LineOf(line);
        }
    }
}

bool IniFile::Save() const {
    // The bytes as read, with each set key in its line and each added key after the last line of
    // its section that is not blank.
    std::string bytes;
    bytes.reserve(m_bytes.size() + 256);
    std::size_t copied = 0;
    for (const Section& section : m_sections) {
        if (section.contentEnd == KeyLine::kAdded) {
            continue;
        }
        for (const KeyLine& line : section.keys) {
            if (line.begin != KeyLine::kAdded && line.written != KeyLine::kAsRead) {
                bytes.append(m_bytes, copied, line.begin - copied);
                bytes += LineOf(line);
                copied = line.end;
            }
        }
        bytes.append(m_bytes, copied, section.contentEnd - copied);
        copied = section.contentEnd;
        AppendAddedKeys(section, bytes);
    }
    bytes.append(m_bytes, copied);
    // The last line is ended; a carriage return that ends the file already ended it as read.
    if (!bytes.empty() && bytes.back() == '\r') {
        bytes += '\n';
    } else if (!bytes.empty() && bytes.back() != '\n') {
        bytes += m_lineBreak;
    }
    // The sections the file did not have, at its end.
    for (const Section& section : m_sections) {
        if (section.contentEnd == KeyLine::kAdded) {
            bytes += "[" + cp932::Encode(section.name).bytes + "]";
            AppendAddedKeys(section, bytes);
            bytes += m_lineBreak;
        }
    }

    // A file the user made read-only is not replaced; the new file is shared as the old one was.
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status existing = fs::status(m_path, error);
    if (fs::exists(existing) && (!fs::is_regular_file(existing) || IsReadOnlyFile(existing))) {
        return false;
    }
    const fs::path folder = m_path.has_parent_path() ? m_path.parent_path() : fs::path(".");
    RemoveStaleTemporaries(FromFsPath(folder));
    TemporaryFile file(folder, error);
    return !error && !file.TakePermissionsOf(m_path) && !file.Write(bytes) &&
           !file.WriteThrough() && !file.ReplaceAs(m_path);
}

} // namespace fmb
