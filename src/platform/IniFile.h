#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fmb {

// A Windows profile (INI) file kept in code page 932. Sections and keys are matched without
// regard to letter case; a value is the text after the first "=" with the blanks around it
// removed. Writing changes only the lines of the keys it sets: every other line, key and section
// is kept byte for byte. The file is replaced atomically, so a failed save leaves it as it was.
class IniFile {
public:
    // Longest value text seen, in CP932 bytes (the profile functions read into 1,024 bytes).
    static constexpr std::size_t kMaxValueBytes = 1023;

    // Reads the file when it exists; an absent or unreadable file gives an empty profile.
    explicit IniFile(std::filesystem::path path);

    // The value as UTF-8, or the empty text when the section or key is absent.
    std::string Get(std::string_view section, std::string_view key) const;

    // Updates the key in its own line, or adds it at the end of its section (the section is
    // added at the end of the file when missing). Returns false, changing nothing, when the value
    // holds a character code page 932 cannot store or a line break.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Writes the whole file through a temporary file in the same folder; false when it could not
    // be written.
    bool Save() const;

private:
    struct Line {
        std::string raw;      // the line's bytes as in the file, without its line break
        std::string keyLower; // key in ASCII lower case; empty for lines that hold no key
        std::string value;    // UTF-8 value of a key line
    };
    struct Section {
        std::string nameLower; // empty for the lines before the first section header
        bool hasHeader = false;
        std::vector<Line> lines; // the header line first when hasHeader
    };

    void Parse(const std::string& bytes);
    const Section* FindSection(std::string_view nameLower) const;
    Section* FindSection(std::string_view nameLower);

    std::filesystem::path m_path;
    std::string m_lineBreak = "\r\n";
    std::vector<Section> m_sections;
};

} // namespace fmb
