#pragma once

#include <optional>
#include <string>

namespace fmb {

// Which company documents carrying an invoice registration number were filed under, so that the
// next document with that number proposes the same company first. Kept in FMB_Touroku.ini
// beside the other INI files: section "TOUROKU", one key per number.
class RegistrationStore {
public:
    static constexpr const char* kFileName = "FMB_Touroku.ini";

    // settingsFolder: the folder of the INI files, ending in the path separator.
    explicit RegistrationStore(std::string settingsFolder);

    // The company the number was last filed under; nothing for an unknown number.
    std::optional<std::string> CompanyOf(const std::string& registrationNumber) const;

    // Records the company for a valid number. False when nothing was written: the number is not
    // a registration number, the name cannot be kept in the file (a character outside code page
    // 932) or the file could not be written, which then stays as it was.
    bool Remember(const std::string& registrationNumber, const std::string& company) const;

    std::string FilePath() const;

private:
    std::string m_settingsFolder;
};

} // namespace fmb
