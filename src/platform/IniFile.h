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
// Reading takes time in proportion to the file's size, and memory little beyond its bytes:
// only sections and key lines are recorded, by their place in the file.
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
    // be written. Temporary files that a save killed half-way left behind in that folder are
    // removed first once they are old enough (see RemoveStaleTemporaries).
    bool Save() const;

private:
    // A line that holds "=": where it stands in m_bytes (without its line break), or, once set,
    // the line that replaces it. Keys added by Set stand in no place of m_bytes.
    struct KeyLine {
        static constexpr std::size_t kAdded = static_cast<std::size_t>(-1);
        static constexpr std::size_t kAsRead = static_cast<std::size_t>(-1);
        std::size_t begin = kAdded;
        std::size_t end = kAdded;
        std::size_t written = kAsRead; // index into m_written
    };
    struct Section {
        std::string name; // as the header spells it, or as Set was given it
        // The end of the section's last line that is not blank (where added keys go, before the
        // blank lines that separate it from the next section); kAdded for a section Set added.
        std::size_t contentEnd = KeyLine::kAdded;
        std::vector<KeyLine> keys;
    };

    void Parse();
    std::string_view LineOf(const KeyLine& line) const;
    const KeyLine* FindKey(const Section& section, std::string_view key) const;
    const Section* FindSection(std::string_view name) const;
    void AppendAddedKeys(const Section& section, std::string& out) const;

    std::filesystem::path m_path;
    std::string m_bytes; // the file as read: every line not set since is written back from here
    std::string m_lineBreak = "\r\n";
    std::vector<Section> m_sections;    // in file order, then the sections Set added
    std::vector<std::string> m_written; // CP932 lines of the keys set since reading
};

} // namespace fmb
