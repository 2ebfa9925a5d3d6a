#pragma once

#include <QImage>

#include <memory>
#include <stop_token>
#include <string>

namespace tesseract {
class TessBaseAPI;
}

namespace fmb {

// Japanese and English text recognition with Tesseract. One engine per thread; its languages
// load once, when it is built.
class OcrEngine {
public:
    OcrEngine();
    ~OcrEngine();
    OcrEngine(const OcrEngine&) = delete;
    OcrEngine& operator=(const OcrEngine&) = delete;

    // False when Tesseract or its Japanese data is not installed.
    bool ready() const { return m_ready; }

    // The text of the picture, line by line, UTF-8; empty when nothing was recognised, the
    // engine is not ready or the stop was requested (recognition then ends early).
    std::string recognise(const QImage& image, int dpi, std::stop_token stop);

private:
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    bool m_ready = false;
};

} // namespace fmb
