#pragma once

#include "extract/SourceDocument.h"

#include <QString>

#include <stop_token>
#include <string>

namespace fmb {

// The text the proposals are read from, and how it was got.
struct ExtractedText {
    SourceDocument::Problem problem = SourceDocument::Problem::None;
    std::string text;        // UTF-8
    bool recognised = false; // OCR read at least one page
    bool stopped = false;    // the stop was requested before the text was complete
};

// Extracts the text of the first pages of a PDF or image: a PDF's text layer; OCR of the page
// drawn at 300 dpi for an image, for a page without text, and for the first page when the text
// layer yields no date or no amount (some PDF writers leave runs of letters and digits out of
// it). Runs for seconds on scans: call it from a worker thread, and request the stop when the
// text is no longer wanted.
ExtractedText ExtractDocumentText(const QString& path, std::stop_token stop);

} // namespace fmb
