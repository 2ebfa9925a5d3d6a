#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>

class QPdfDocument;

namespace fmb {

// A source file as pages: a PDF through Qt's PDF module, or an image (JPEG, PNG, TIFF with
// one page per frame) through QImageReader. Used from one thread at a time.
class SourceDocument {
public:
    enum class Problem {
        None,
        Missing,     // no file at the path (or a folder)
        Unsupported, // neither a PDF nor an image Qt can read
        Unreadable,  // a damaged PDF or image
        Encrypted,   // a PDF that needs a password
    };

    explicit SourceDocument(const QString& path);
    ~SourceDocument();
    SourceDocument(const SourceDocument&) = delete;
    SourceDocument& operator=(const SourceDocument&) = delete;

    Problem problem() const { return m_problem; }
    bool isPdf() const { return m_pdf != nullptr; }
    int pageCount() const { return m_pageCount; }

    // The page's size in points (1/72 inch); an image without a resolution counts 96 dpi.
    QSizeF pageSize(int page) const;
    // The page drawn at the given pixels per point, white behind transparent parts; a null
    // image when the page cannot be drawn.
    QImage render(int page, double pixelsPerPoint) const;
    // The page as OCR reads it: a PDF page drawn at `dpi`, an image as it is, with its resolution.
    struct Scan {
        QImage image;
        int dpi = 0;
    };
    Scan scan(int page, int dpi) const;
    // The page's text layer (empty for an image or a page of scanned pictures).
    QString pageText(int page) const;

private:
    QImage imagePage(int page) const;

    QString m_path;
    Problem m_problem = Problem::None;
    int m_pageCount = 0;
    std::unique_ptr<QPdfDocument> m_pdf;
    mutable int m_cachedImagePage = -1;
    mutable QImage m_cachedImage;
};

} // namespace fmb
