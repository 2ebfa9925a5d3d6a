#include "preview/PageView.h"

#include "extract/SourceDocument.h"

#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTransform>

#include <algorithm>

namespace fmb {
namespace {

constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;
constexpr int kMargin = 8; // pixels around a page fitted to the width

} // namespace

PageView::PageView(QWidget* parent) : QScrollArea(parent), m_canvas(new QLabel) {
    m_canvas->setAlignment(Qt::AlignCenter);
    m_canvas->setWordWrap(true);
    m_canvas->setMargin(kMargin);
    setWidget(m_canvas);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setBackgroundRole(QPalette::Dark);
    setWidgetResizable(false);
}

void PageView::SetDocument(std::shared_ptr<const SourceDocument> document) {
    m_document = std::move(document);
    m_page = 0;
    m_fitWidth = true;
    m_rotation = 0;
    Render();
}

void PageView::ShowNote(const QString& note) {
    m_document.reset();
    m_page = 0;
    m_shown = QImage();
    m_canvas->setPixmap(QPixmap());
    m_canvas->setText(note);
    m_canvas->setFixedWidth(viewport()->width());
    m_canvas->adjustSize();
}

QString PageView::Note() const {
    return m_document ? QString() : m_canvas->text();
}

int PageView::PageCount() const {
    return m_document ? m_document->pageCount() : 0;
}

void PageView::GoTo(int page) {
    if (!m_document || page < 0 || page >= PageCount() || page == m_page)
        return;
    m_page = page;
    Render();
    verticalScrollBar()->setValue(0);
}

void PageView::ZoomIn() {
    m_fitWidth = false;
    m_zoom = std::min(kMaxZoom, m_zoom * kZoomStep);
    Render();
}

void PageView::ZoomOut() {
    m_fitWidth = false;
    m_zoom = std::max(kMinZoom, m_zoom / kZoomStep);
    Render();
}

void PageView::FitWidth() {
    m_fitWidth = true;
    Render();
}

void PageView::Rotate() {
    m_rotation = (m_rotation + 90) % 360;
    Render();
}

void PageView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_fitWidth && m_document)
        Render();
    else if (!m_document)
        m_canvas->setFixedWidth(viewport()->width());
}

void PageView::Render() {
    if (!m_document)
        return;
    QSizeF points = m_document->pageSize(m_page);
    if (points.isEmpty())
        return;
    if (m_rotation % 180 != 0)
        points.transpose();
    if (m_fitWidth) {
        // The scroll bar a tall page needs is left room for.
        const int width =
            viewport()->width() - 2 * kMargin - verticalScrollBar()->sizeHint().width();
        m_zoom = std::clamp(width / points.width(), kMinZoom, kMaxZoom);
    }
    const double ratio = devicePixelRatioF();
    QImage page = m_document->render(m_page, m_zoom * ratio);
    if (m_rotation != 0)
        page = page.transformed(QTransform().rotate(m_rotation));
    m_shown = page;
    QPixmap pixmap = QPixmap::fromImage(page);
    pixmap.setDevicePixelRatio(ratio);
    m_canvas->setText(QString());
    m_canvas->setMinimumWidth(0);
    m_canvas->setMaximumWidth(QWIDGETSIZE_MAX);
    m_canvas->setPixmap(pixmap);
    m_canvas->adjustSize();
}

} // namespace fmb
