#include "settings/CFMBSyameiData.h"

#include "platform/DecimalText.h"
#include "platform/IniFile.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cstdio>

namespace fmb {
namespace {

constexpr const char* kTypesSection = "SYURUI";

// A hand-edited size beyond this is read as this many entries, so a typing slip in the file
// cannot make the program reserve memory without end.
constexpr int kMaxEntries = 9999;

std::string Numbered(const char* prefix, int number) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%03d", prefix, number);
    return text;
}

std::string PlaceholderName(int slotNumber) {
    char text[16];
    std::snprintf(text, sizeof text, "NoData_%02d", slotNumber);
    return text;
}

int ReadSize(const IniFile& ini, const std::string& section) {
    return std::clamp(ReadLeadingInt(ini.Get(section, "SIZE")), 0, kMaxEntries);
}

} // namespace

CFMBSyameiData::CFMBSyameiData(std::string settingsFolder)
    : m_settingsFolder(std::move(settingsFolder)) {}

std::string CFMBSyameiData::IniPath() const {
    return WithTrailingSeparator(m_settingsFolder) + "FMB_Corp.ini";
}

int CFMBSyameiData::ReadIni() {
    const IniFile ini(ToFsPath(IniPath()));
    const int slots = ReadSize(ini, kTypesSection);
    m_types.resize(static_cast<std::size_t>(slots));
    if (slots == 12) {
        ExtendTypes();
    }
    for (int number = 1; number <= slots; ++number) {
        const std::string section = Numbered("SYURUI_", number);
        // Every entry holds at least its name, whatever its size says.
        const int size = std::max(ReadSize(ini, section), 1);
        TypeEntry& entry = m_types[static_cast<std::size_t>(number - 1)];
        entry.assign(static_cast<std::size_t>(size), std::string());
        entry[0] = ini.Get(section, "SYURUI_NAME");
        for (int j = 1; j < size; ++j) {
            entry[static_cast<std::size_t>(j)] = ini.Get(section, Numbered("SYA_NAME_", j));
        }
    }
    return 0;
}

SaveResult CFMBSyameiData::WriteIni() {
    IniFile ini(ToFsPath(IniPath()));
    bool representable = ini.Set(kTypesSection, "SIZE", std::to_string(m_types.size()));
    for (std::size_t slot = 0; slot < m_types.size(); ++slot) {
        const TypeEntry& entry = m_types[slot];
        const std::string section = Numbered("SYURUI_", static_cast<int>(slot) + 1);
        representable &= ini.Set(section, "SIZE", std::to_string(entry.size()));
        if (entry.empty()) {
            continue;
        }
        representable &= ini.Set(section, "SYURUI_NAME", entry[0]);
        for (std::size_t j = 1; j < entry.size(); ++j) {
            representable &= ini.Set(section, Numbered("SYA_NAME_", static_cast<int>(j)), entry[j]);
        }
    }
    if (!representable) {
        return SaveResult::UnrepresentableText;
    }
    return ini.Save() ? SaveResult::Saved : SaveResult::WriteFailed;
}

void CFMBSyameiData::NameSlots(int firstSlot, const std::vector<std::string>& names) {
    for (std::size_t k = 0; k < names.size(); ++k) {
        SetTypeName(firstSlot + static_cast<int>(k), names[k]);
    }
}

int CFMBSyameiData::SetDefaultTypes() {
    m_types.resize(6);
    NameSlots(0, {"請求書", "請求書(控)", "領収書", "クレカ明細", "給与明細", "その他"});
    std::vector<std::string> placeholders;
    for (int number = 7; number <= 12; ++number) {
        placeholders.push_back(PlaceholderName(number));
    }
    NameSlots(6, placeholders);
    return TypeCount();
}

int CFMBSyameiData::ExtendTypes() {
    if (TypeCount() == 12) {
        std::vector<std::string> placeholders;
        for (int number = 13; number <= 36; ++number) {
            placeholders.push_back(PlaceholderName(number));
        }
        NameSlots(12, placeholders);
    }
    return TypeCount();
}

int CFMBSyameiData::GetTypeNames(std::vector<std::string>& names) const {
    for (const TypeEntry& entry : m_types) {
        names.push_back(entry.empty() ? std::string("NoData") : entry[0]);
    }
    return TypeCount();
}

int CFMBSyameiData::GetCompanyNames(int slot, std::vector<std::string>& companies) const {
    // A slot outside the store has no companies (a hand-edited file can leave a caller with one).
    if (slot < 0 || slot >= TypeCount()) {
        return 0;
    }
    const TypeEntry& entry = m_types[static_cast<std::size_t>(slot)];
    if (entry.size() < 2) {
        return 0;
    }
    companies.assign(entry.begin() + 1, entry.end());
    return 1;
}

int CFMBSyameiData::SetTypeName(int slot, const std::string& name) {
    if (slot < 0) {
        return 0;
    }
    if (slot >= TypeCount()) {
        m_types.resize(static_cast<std::size_t>(slot) + 1);
    }
    TypeEntry& entry = m_types[static_cast<std::size_t>(slot)];
    if (entry.empty()) {
        entry.emplace_back();
    }
    entry[0] = name;
    return 1;
}

void CFMBSyameiData::SetCompanyNames(int slot, const std::vector<std::string>& companies) {
    if (slot < 0 || slot >= TypeCount()) {
        return;
    }
    TypeEntry& entry = m_types[static_cast<std::size_t>(slot)];
    const std::string name = entry.empty() ? std::string() : entry[0];
    entry.assign(1, name);
    entry.insert(entry.end(), companies.begin(), companies.end());
}

std::string CFMBSyameiData::TypeName(int slot) const {
    if (slot < 0 || slot >= TypeCount() || m_types[static_cast<std::size_t>(slot)].empty()) {
        return {};
    }
    return m_types[static_cast<std::size_t>(slot)][0];
}

} // namespace fmb
