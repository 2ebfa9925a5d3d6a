#pragma once

#include "platform/FileHash.h"

#include <string>

namespace fmb {

// What a filing asks of the record keeper around the moment the document appears under its name.
// The content is digested while it is copied, so the document is read once.
class FilingRecorder {
public:
    virtual ~FilingRecorder() = default;
    // The complete copy, not yet under its name, holds content. False stops the filing (nothing
    // is stored); the recorder has then told the user why.
    virtual bool MayPublish(const ContentDigest& content) = 0;
    // The document now lies at storedPath. False when it could not be recorded; the recorder has
    // then told the user why, and the filing takes the document out again.
    virtual bool Record(const std::string& storedPath, const ContentDigest& content) = 0;
};

} // namespace fmb
