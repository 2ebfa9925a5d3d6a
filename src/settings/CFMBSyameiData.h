#pragma once

#include "platform/ExeFolder.h"
#include "settings/SaveResult.h"

#include <string>
#include <vector>

namespace fmb {

// The document types and, per type, the company names offered for it; stored in FMB_Corp.ini.
// A type entry is a list of texts: text 0 is the type's name, the rest are its companies.
class CFMBSyameiData {
public:
    using TypeEntry = std::vector<std::string>;

    explicit CFMBSyameiData(std::string settingsFolder = GetExeFolder());
    virtual ~CFMBSyameiData() = default;
    // Copies are deep and carry the settings folder along.
    CFMBSyameiData(const CFMBSyameiData&) = default;
    CFMBSyameiData& operator=(const CFMBSyameiData&) = default;

    // Replaces the whole store with the file's content; 0.
    int ReadIni();
    // Writes the whole store: Saved, or why the file was not written (it then stays as it was).
    SaveResult WriteIni();

    // Gives the store the twelve first-start types; returns the number of slots.
    int SetDefaultTypes();
    // Only when the store holds exactly 12 slots: adds slots 13 to 36 with placeholder names.
    // Returns the number of slots afterwards.
    int ExtendTypes();

    // Appends one name per slot ("NoData" for an entry without texts); returns the slot count.
    int GetTypeNames(std::vector<std::string>& names) const;
    // When the slot holds companies: replaces the list with them and returns 1; otherwise returns
    // 0 and leaves the list untouched.
    int GetCompanyNames(int slot, std::vector<std::string>& companies) const;
    // Grows the store to slot+1 slots when shorter and names the slot; its companies stay. 1.
    int SetTypeName(int slot, const std::string& name);
    // Replaces the companies of an existing slot, keeping its name.
    void SetCompanyNames(int slot, const std::vector<std::string>& companies);

    int TypeCount() const { return static_cast<int>(m_types.size()); }
    // Text 0 of the slot; empty when the slot does not exist or holds no texts.
    std::string TypeName(int slot) const;

    std::string IniPath() const;

private:
    void NameSlots(int firstSlot, const std::vector<std::string>& names);

    std::string m_settingsFolder;
    std::vector<TypeEntry> m_types;
};

} // namespace fmb
