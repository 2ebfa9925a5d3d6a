#pragma once

#include "filing/FilingRecorder.h"
#include "platform/Reporter.h"

#include <string>
#include <vector>

namespace fmb {

// Results of CopyIntoStorage; a caller tests the sign, and the filing window also looks for
// kNameTaken to put the focus where the name can be changed.
namespace copy_result {
inline constexpr int kFiled = 0;
inline constexpr int kCopyFailed = -1;
inline constexpr int kNoSourcePath = -11;
inline constexpr int kNoStorageRoot = -12;
inline constexpr int kNoDestinationFolder = -13;
inline constexpr int kNoFileName = -14;
inline constexpr int kSourceMissing = -21;
inline constexpr int kNameTaken = -22;
inline constexpr int kStorageRootMissing = -31;
inline constexpr int kFolderCreationFailed = -32;
inline constexpr int kNotPublished = -41; // the record keeper stopped it (a duplicate, say)
inline constexpr int kNotRecorded = -42;  // stored, but not recorded: taken out again
} // namespace copy_result

// Files a copy of the source under destinationFolder/fileName: creates the missing folder levels
// below the storage root, never overwrites anything, keeps the source's modification time and
// marks the copy read-only. The document appears under its name only when complete. Every failure
// is told through the reporter before it returns, and leaves the storage as it was: the folders
// this call created are removed again.
//
// With a recorder, the complete copy is shown to it before it gets its name (it may stop the
// filing there), and the stored document is recorded before this returns; a document that
// cannot be recorded is taken out again, so none is ever stored unrecorded.
int CopyIntoStorage(std::string sourcePath, std::string storageRoot, std::string destinationFolder,
                    std::string fileName, Reporter& reporter, FilingRecorder* recorder = nullptr);

// Creates every missing level of the folder from the top down; true when the deepest level was
// created, false otherwise (also when nothing needed creating). The folders made are added to
// created, top first, when it is given.
bool CreateFolderChain(const std::string& folderPath, std::vector<std::string>* created = nullptr);

// The full path of a file named fileName in the folder (one separator between them).
std::string StoredFilePath(const std::string& destinationFolder, const std::string& fileName);

} // namespace fmb
