#pragma once

namespace fmb {

// What WriteIni of a settings store did, with the numbers it has always returned. On any result
// but Saved the file stays as it was.
enum class SaveResult {
    Saved = 0,
    WriteFailed = -1,         // the file could not be written
    UnrepresentableText = -2, // a value holds a character the file's code page cannot store
};

} // namespace fmb
