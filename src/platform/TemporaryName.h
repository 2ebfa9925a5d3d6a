#pragma once

#include <string>
#include <string_view>

namespace fmb {

// The program writes every file that takes the place of a user's file (a filed document, a backup
// copy, the index book) under a temporary name in the same folder first, and gives it its real
// name only when it is complete. A temporary name begins with "." (so the backup and the file
// managers pass over it), never with "[", and holds letters only after its prefix, so it can never
// be read back as a stored document's name. Whatever a crash leaves behind is recognised by
// IsTemporaryName and ignored by every reader.
inline constexpr std::string_view kTemporaryPrefix = ".fumibako-tmp-";

// kTemporaryPrefix followed by twelve random lower-case letters.
std::string MakeTemporaryName();

// True for a name MakeTemporaryName may have given.
bool IsTemporaryName(std::string_view name);

} // namespace fmb
