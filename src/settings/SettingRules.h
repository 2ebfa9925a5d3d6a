#pragma once

#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"

#include <optional>
#include <string>
#include <vector>

namespace fmb {

// The example the settings dialog shows for the choices in its controls: a 請求書(控) from
// (株)〇〇商事 for 500,000, dated 31 December of the given year, composed as a real filing of it
// would be.
struct SettingExample {
    // As the dialog shows it, e.g. "例 : [2024_12_31][(株)〇〇商事][500,000].pdf".
    std::string fileName;
    // The folders of the example tree: the storage root first, each next one inside the one
    // before. None while the root is empty.
    std::vector<std::string> folders;
};

// The example for these settings (the storage root as typed, the end month as read from its
// field, the flags as checked) in the given year.
SettingExample MakeSettingExample(const CFMBData& choices, int year);

enum class SettingField { Root, Month };

struct SettingRefusal {
    std::optional<SettingField> focus; // the field that gets the focus; none: it stays where it is
    std::string message;               // shown to the user as it stands
};

// The checks before the settings are saved, in their fixed order: a storage root that is not an
// existing folder, an empty storage root, an end month outside 1 to 12. The first failure.
std::optional<SettingRefusal> ValidateSettings(const CFMBData& settings);

// The first-start rule: an empty store gets the 36 default types, a store of 12 types gets slots
// 13 to 36, and the store is written at once. Returns the result of WriteIni, or Saved when the
// store needed nothing.
SaveResult CompleteTypes(CFMBSyameiData& types);

} // namespace fmb
