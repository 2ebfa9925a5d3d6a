#pragma once

#include <QImage>
#include <QScrollArea>

#include <memory>

class QLabel;

namespace fmb {

class SourceDocument;

// One page of a source document, drawn at the size it is shown (so the first page of a long PDF
// is there at once), or a note in its place. Pages can be turned, zoomed, fitted to the width
// and turned by quarter turns.
class PageView final : public QScrollArea {
    Q_OBJECT

public:
    explicit PageView(QWidget* parent = nullptr);

    // Shows the first page, fitted to the width, upright.
    void SetDocument(std::shared_ptr<const SourceDocument> document);
    // Shows the text instead of a page.
    void ShowNote(const QString& note);

    int Page() const { return m_page; }
    int PageCount() const;
    void GoTo(int page);

    void ZoomIn();
    void ZoomOut();
    void FitWidth();
    void Rotate(); // a quarter turn clockwise

    double Zoom() const { return m_zoom; } // shown pixels per point
    bool FitsWidth() const { return m_fitWidth; }
    int Rotation() const { return m_rotation; } // 0, 90, 180 or 270
    // The page as drawn now; null when a note is shown.
    QImage Shown() const { return m_shown; }
    QString Note() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Render();

    QLabel* m_canvas;
    std::shared_ptr<const SourceDocument> m_document;
    int m_page = 0;
    double m_zoom = 1.0;
    bool m_fitWidth = true;
    int m_rotation = 0;
    QImage m_shown;
};

} // namespace fmb
