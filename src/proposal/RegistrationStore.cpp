#include "proposal/RegistrationStore.h"

#include "platform/IniFile.h"
#include "platform/PathText.h"
#include "proposal/RegistrationNumber.h"

namespace fmb {
namespace {

constexpr const char* kSection = "TOUROKU";

} // namespace

RegistrationStore::RegistrationStore(std::string settingsFolder)
    : m_settingsFolder(std::move(settingsFolder)) {}

std::string RegistrationStore::FilePath() const {
    return m_settingsFolder + kFileName;
}

std::optional<std::string>
RegistrationStore::CompanyOf(const std::string& registrationNumber) const {
    if (!IsRegistrationNumber(registrationNumber))
        return std::nullopt;
    std::string company = IniFile(ToFsPath(FilePath())).Get(kSection, registrationNumber);
    if (company.empty())
        return std::nullopt;
    return company;
}

bool RegistrationStore::Remember(const std::string& registrationNumber,
                                 const std::string& company) const {
    if (!IsRegistrationNumber(registrationNumber) || company.empty())
        return false;
    IniFile file(ToFsPath(FilePath()));
    if (file.Get(kSection, registrationNumber) == company)
        return true;
    return file.Set(kSection, registrationNumber, company) && file.Save();
}

} // namespace fmb
