#pragma once

#include "extract/DocumentText.h"
#include "preview/WindowPlace.h"
#include "proposal/Proposals.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QScreen;
class QPushButton;
class QToolButton;

namespace fmb {

class PageView;
class TextReadJob;

// The entry fields a proposal can fill.
enum class ProposalField { Date, Company, Amount };

// The companion of the filing window: shows the source document and proposes the date, company
// and amount its text names. It follows every change of the source (ShowSource); reading the
// text (OCR of a scan takes seconds) runs on a worker thread, so the window never waits for it.
// A proposal fills nothing by itself: a click on it asks the filing window to fill the field
// (proposalChosen). Closing the window hides it; it keeps its place and size in FMB_Preview.ini.
class CPreviewWnd final : public QWidget {
    Q_OBJECT

public:
    // settingsFolder: the folder of the INI files (window place, registration numbers).
    CPreviewWnd(std::string settingsFolder, QWidget* parent);
    ~CPreviewWnd() override;
    CPreviewWnd(const CPreviewWnd&) = delete;
    CPreviewWnd& operator=(const CPreviewWnd&) = delete;

    // Shows the document at the path (empty: none) and starts reading its proposals.
    void ShowSource(const std::string& path);
    // The type and its companies changed: the proposals are read again from the same text.
    void SetContext(ProposalContext context);
    // Shows the window where it was last time, or beside the anchor, without taking the focus.
    void ShowBeside(QWidget& anchor);
    // Moves it there again, once the window system has placed the anchor.
    void MoveBeside(QWidget& anchor);

    // The registration numbers of the source shown, once its text has been read.
    std::vector<std::string> RegistrationNumbers() const;
    const FieldProposals& Proposals() const { return m_proposals; }
    bool Reading() const;

signals:
    void proposalChosen(fmb::ProposalField field, const QString& value);

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* BuildToolBar();
    QWidget* BuildProposalPanel();
    void OnTextRead(const QString& path, const ExtractedText& text);
    void ShowProposals();
    void ShowPageNumber();
    void SavePlace() const;
    // Where the window goes beside the filing window (its frame) on the screen.
    // On a screen too narrow for both windows where they stand, moves the filing window to the
    // screen's left edge, so that this window opens beside it rather than over its fields.
    static void MakeRoomBeside(QWidget& anchor);
    QRect PlaceBeside(const QRect& anchor, const QScreen* screen) const;

    std::string m_settingsFolder;
    WindowPlace m_place;
    ProposalContext m_context;
    std::string m_path;
    std::unique_ptr<ExtractedText> m_text; // of m_path, once read
    FieldProposals m_proposals;

    PageView* m_view;
    QLabel* m_pageNumber = nullptr;
    QPushButton* m_previousPage = nullptr;
    QPushButton* m_nextPage = nullptr;
    QToolButton* m_dateButton = nullptr;
    QToolButton* m_companyButton = nullptr;
    QToolButton* m_amountButton = nullptr;
    QLabel* m_status = nullptr;
    TextReadJob* m_job;
};

} // namespace fmb
