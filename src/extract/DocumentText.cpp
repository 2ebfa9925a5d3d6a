#include "extract/DocumentText.h"

#include "extract/OcrEngine.h"
#include "proposal/Proposals.h"

#include <memory>
#include <optional>

namespace fmb {
namespace {

constexpr int kTextPages = 3; // the proposals stand on the first pages
constexpr int kOcrPages = 2;
constexpr int kOcrDpi = 300;

} // namespace

ExtractedText ExtractDocumentText(const QString& path, std::stop_token stop) {
    ExtractedText result;
    const SourceDocument document(path);
    result.problem = document.problem();
    if (result.problem != SourceDocument::Problem::None)
        return result;

    std::optional<OcrEngine> ocr;
    const auto recognise = [&](int page) {
        if (!ocr)
            ocr.emplace();
        const SourceDocument::Scan scan = document.scan(page, kOcrDpi);
        result.text += ocr->recognise(scan.image, scan.dpi, stop);
        result.text += '\n';
        result.recognised = true;
    };

    const int pages = std::min(document.pageCount(), kTextPages);
    bool firstPageRecognised = false;
    for (int page = 0; page < pages && !stop.stop_requested(); ++page) {
        const QString layer = document.isPdf() ? document.pageText(page) : QString();
        if (!layer.trimmed().isEmpty()) {
            result.text += layer.toStdString();
            result.text += '\n';
        } else if (page < kOcrPages) {
            recognise(page);
            firstPageRecognised = firstPageRecognised || page == 0;
        }
    }
    if (!firstPageRecognised && !stop.stop_requested() &&
        !HasDateAndAmount(ProposeFields(result.text, {}, nullptr)))
        recognise(0);
    result.stopped = stop.stop_requested();
    return result;
}

} // namespace fmb
