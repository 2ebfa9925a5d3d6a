#include "extract/SourceDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>

namespace fmb {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kAssumedDpi = 96.0;
constexpr double kInchesPerMeter = 1.0 / 0.0254;

bool StartsLikePdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(1024).contains("%PDF-");
}

double DotsPerInch(int dotsPerMeter) {
    const double dpi = dotsPerMeter / kInchesPerMeter;
    return dpi >= 30 ? dpi : kAssumedDpi;
}

} // namespace

SourceDocument::SourceDocument(const QString& path) : m_path(path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        m_problem = Problem::Missing;
        return;
    }
    if (StartsLikePdf(path)) {
        m_pdf = std::make_unique<QPdfDocument>();
        switch (m_pdf->load(path)) {
        case QPdfDocument::Error::None:
            m_pageCount = m_pdf->pageCount();
            if (m_pageCount <= 0)
                m_problem = Problem::Unreadable;
            return;
        case QPdfDocument::Error::IncorrectPassword:
        case QPdfDocument::Error::UnsupportedSecurityScheme:
            m_problem = Problem::Encrypted;
            return;
        default:
            m_problem = Problem::Unreadable;
            return;
        }
    }
    QImageReader reader(path);
    if (!reader.canRead()) {
        m_problem =
            QImageReader::imageFormat(path).isEmpty() ? Problem::Unsupported : Problem::Unreadable;
        return;
    }
    m_pageCount = std::max(1, reader.imageCount());
    if (imagePage(0).isNull())
        m_problem = Problem::Unreadable;
}

SourceDocument::~SourceDocument() = default;

QImage SourceDocument::imagePage(int page) const {
    if (page != m_cachedImagePage) {
        QImageReader reader(m_path);
        reader.setAutoTransform(true);
        if (page > 0)
            reader.jumpToImage(page);
        m_cachedImage = reader.read();
        m_cachedImagePage = page;
    }
    return m_cachedImage;
}

QSizeF SourceDocument::pageSize(int page) const {
    if (page < 0 || page >= m_pageCount || m_problem != Problem::None)
        return {};
    if (m_pdf)
        return m_pdf->pagePointSize(page);
    const QImage image = imagePage(page);
    return QSizeF(image.width() * kPointsPerInch / DotsPerInch(image.dotsPerMeterX()),
                  image.height() * kPointsPerInch / DotsPerInch(image.dotsPerMeterY()));
}

QImage SourceDocument::render(int page, double pixelsPerPoint) const {
    const QSizeF points = pageSize(page);
    if (points.isEmpty() || pixelsPerPoint <= 0)
        return {};
    const QSize pixels = (points * pixelsPerPoint).toSize().expandedTo(QSize(1, 1));
    QImage drawn;
    if (m_pdf) {
        drawn = m_pdf->render(page, pixels);
    } else {
        drawn = imagePage(page).scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (drawn.isNull())
        return {};
    // PDF pages come with a transparent background.
    QImage sheet(drawn.size(), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawImage(0, 0, drawn);
    return sheet;
}

SourceDocument::Scan SourceDocument::scan(int page, int dpi) const {
    if (page < 0 || page >= m_pageCount || m_problem != Problem::None)
        return {};
    if (m_pdf)
        return {render(page, dpi / kPointsPerInch), dpi};
    const QImage image = imagePage(page);
    return {image, static_cast<int>(DotsPerInch(image.dotsPerMeterX()) + 0.5)};
}

QString SourceDocument::pageText(int page) const {
    if (!m_pdf || page < 0 || page >= m_pageCount)
        return {};
    return m_pdf->getAllText(page).text();
}

} // namespace fmb
