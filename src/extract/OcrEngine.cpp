#include "extract/OcrEngine.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>

#include <memory>

namespace fmb {
namespace {

bool StopRequested(void* stop, int /*words*/) {
    return static_cast<std::stop_token*>(stop)->stop_requested();
}

} // namespace

OcrEngine::OcrEngine() : m_api(std::make_unique<tesseract::TessBaseAPI>()) {
    m_ready = m_api->Init(nullptr, "jpn+eng", tesseract::OEM_LSTM_ONLY) == 0;
    if (m_ready) {
        // Its progress notes ("Detected 30 diacritics") are no message for the user.
        m_api->SetVariable("debug_file", "/dev/null");
        // One column of lines of any size: a label and its value stay on one line.
        m_api->SetPageSegMode(tesseract::PSM_SINGLE_COLUMN);
    }
}

OcrEngine::~OcrEngine() {
    m_api->End();
}

std::string OcrEngine::recognise(const QImage& image, int dpi, std::stop_token stop) {
    if (!m_ready || image.isNull() || stop.stop_requested())
        return {};
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    m_api->SetImage(gray.constBits(), gray.width(), gray.height(), 1,
                    static_cast<int>(gray.bytesPerLine()));
    m_api->SetSourceResolution(dpi);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &StopRequested;
    monitor.cancel_this = &stop;
    if (m_api->Recognize(&monitor) != 0 || stop.stop_requested()) {
        m_api->Clear();
        return {};
    }
    const std::unique_ptr<char[]> text(m_api->GetUTF8Text());
    m_api->Clear();
    return text ? std::string(text.get()) : std::string();
}

} // namespace fmb
