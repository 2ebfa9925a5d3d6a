#pragma once

#include "filing/FilingRecorder.h"
#include "platform/Reporter.h"

#include <string>
#include <vector>

namespace fmb {

// Results of CopyIntoStorage, with the numbers the program has always returned; the filing window
// looks for NameTaken to put the focus where the name can be changed.
enum class CopyResult {
    Filed = 0,
    CopyFailed = -1,
    NoSourcePath = -11,
    NoStorageRoot = -12,
    NoDestinationFolder = -13,
    NoFileName = -14,
    SourceMissing = -21,
    NameTaken = -22,
    StorageRootMissing = -31,
    FolderCreationFailed = -32,
    NotPublished = -41, // the record keeper stopped it (a duplicate, say)
    NotRecorded = -42,  // stored, but not recorded: taken out again
};

// Files a copy of the source under destinationFolder/fileName: creates the missing folder levels
// below the storage root, never overwrites anything, keeps the source's modification time and
// marks the copy read-only. The document appears under its name only when complete. Every failure
// is told through the reporter before it returns, and leaves the storage as it was: the folders
// this call created are removed again.
//
// With a recorder, the complete copy is shown to it before it gets its name (it may stop the
// filing there), and the stored document is recorded before this returns; a document that
// cannot be recorded is taken out again, so none is ever stored unrecorded.
CopyResult CopyIntoStorage(std::string sourcePath, std::string storageRoot,
                           std::string destinationFolder, std::string fileName, Reporter& reporter,
                           FilingRecorder* recorder = nullptr);

// Creates every missing level of the folder from the top down; true when the deepest level was
// created, false otherwise (also when nothing needed creating). The folders made are added to
// created, top first, when it is given.
bool CreateFolderChain(const std::string& folderPath, std::vector<std::string>* created = nullptr);

// The full path of a file named fileName in the folder (one separator between them).
std::string StoredFilePath(const std::string& destinationFolder, const std::string& fileName);

} // namespace fmb
