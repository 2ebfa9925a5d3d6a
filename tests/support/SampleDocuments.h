#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fmb::test {

// Documents for the proposal tests, drawn from lines of text (one line of the page each, from
// the top) with rsvg-convert, whose PDFs keep every character in the text layer.

// A one-page A4 PDF with a text layer.
void WriteTextPdf(const std::filesystem::path& pdf, const std::vector<std::string>& lines);
// The same page as a scanned PNG at 200 dpi (no text layer: only OCR reads it).
void WriteScanPng(const std::filesystem::path& png, const std::vector<std::string>& lines);
// A one-page PDF whose text layer holds textLines only: pictureLines, below them, are a picture
// on the page, as on a scanned page or where a PDF writer drew text as outlines.
void WritePdfWithPicturedLines(const std::filesystem::path& pdf,
                               const std::vector<std::string>& textLines,
                               const std::vector<std::string>& pictureLines);
// A PDF that needs a password to open.
std::string EncryptedPdfBytes();

// An invoice from (株)国税商事 to 株式会社ふみばこ工房 of 2023/03/31 over 110,000 yen, with a due
// date, a subtotal and a tax line, and the issuer's registration number.
std::vector<std::string> SampleInvoiceLines();
inline constexpr const char* kSampleRegistration = "T7000012050002";

} // namespace fmb::test
