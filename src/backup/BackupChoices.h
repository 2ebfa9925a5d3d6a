#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the backup dialog decides from its fields before it copies.
namespace fmb {

// Asked before a copy into a backup folder that exists already; the folder's path follows the
// advice.
std::string ExistingBackupQuestion(std::string_view backupFolder);

// Why the destination folder cannot take a backup: empty or relative, the backup would land in
// whatever folder the program happens to run in, where the user would not find it; missing, the
// backup folder could not be made in it. Nothing when it can.
std::optional<std::string> CheckBackupDestination(std::string_view destination);

// Why the backup folder's name cannot be used: it must name one folder inside the destination,
// so it may be neither empty, nor "." or "..", nor hold "/" or "\\". Nothing when it can.
std::optional<std::string> CheckBackupName(std::string_view name);

// Asked before a running copy is stopped (中止, or closing the dialog).
inline constexpr std::string_view kStopBackupQuestion =
    "コピーを中止しますか？\n\nコピー中のファイルは取り消されます。それまでにコピーした"
    "ファイルはバックアップ先に残ります。";

} // namespace fmb
