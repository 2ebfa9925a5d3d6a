#include "preview/CPreviewWnd.h"

#include "extract/SourceDocument.h"
#include "filing/AmountText.h"
#include "preview/PageView.h"
#include "preview/TextReadJob.h"
#include "proposal/RegistrationStore.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace fmb {
namespace {

const char* const kTitle = "ふみばこ - プレビュー（閉じても Ctrl+P でまた開きます）";
const char* const kNoSourceNote = "元ファイルを選ぶと、ここに表示されます。";
const char* const kMissingNote = "ファイルが見つかりません。";
const char* const kUnsupportedNote =
    "このファイルは表示できません。\nPDF と画像（JPEG・PNG・TIFF）を表示できます。";
const char* const kUnreadableNote = "このファイルは壊れているか読み込めないため、表示できません。";
const char* const kEncryptedNote =
    "このPDFはパスワードで保護されているため、表示も読み取りもできません。";
const char* const kReadingStatus = "書類の文字を読み取っています…";
const char* const kTextLayerStatus =
    "書類の文字から読み取った候補です。書類と見比べてからクリックしてください。";
const char* const kRecognisedStatus =
    "文字認識（OCR）で読み取った候補です。書類と見比べてからクリックしてください。";
const char* const kNothingFoundStatus = "候補は見つかりませんでした。";
const char* const kNoProposal = "候補なし";
const char* const kProposalPrefix = "候補: ";

constexpr int kGap = 8; // pixels between the filing window and this one
constexpr QSize kDefaultSize(640, 760);
// Narrower than this, a page beside the filing window is too small to read its figures.
constexpr int kReadableWidth = 480;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString NoteFor(SourceDocument::Problem problem) {
    switch (problem) {
    case SourceDocument::Problem::Missing:
        return QString::fromUtf8(kMissingNote);
    case SourceDocument::Problem::Unsupported:
        return QString::fromUtf8(kUnsupportedNote);
    case SourceDocument::Problem::Encrypted:
        return QString::fromUtf8(kEncryptedNote);
    case SourceDocument::Problem::Unreadable:
    case SourceDocument::Problem::None:
        break;
    }
    return QString::fromUtf8(kUnreadableNote);
}

// How a proposal reads on its button: the date with slashes, the amount with separators.
QString Shown(ProposalField field, const std::string& value) {
    switch (field) {
    case ProposalField::Date:
        return Q(value.substr(0, 4) + "/" + value.substr(4, 2) + "/" + value.substr(6, 2));
    case ProposalField::Amount:
        return Q(FormatThousands(value));
    case ProposalField::Company:
        break;
    }
    return Q(value);
}

QPushButton* ToolButton(const char* caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

CPreviewWnd::CPreviewWnd(std::string settingsFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_settingsFolder(std::move(settingsFolder)),
      m_place(m_settingsFolder), m_view(new PageView(this)),
      m_job(new TextReadJob(
          [this](const QString& path, const ExtractedText& text) { OnTextRead(path, text); },
          this)) {
    setWindowTitle(QString::fromUtf8(kTitle));
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_view->setObjectName(QStringLiteral("previewPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildToolBar());
    layout->addWidget(m_view, 1);
    layout->addWidget(BuildProposalPanel());
    resize(kDefaultSize);
    ShowSource({});
}

CPreviewWnd::~CPreviewWnd() {
    // Destroyed with the filing window while shown: no hide tells it to keep its place.
    if (isVisible())
        SavePlace();
}

QWidget* CPreviewWnd::BuildToolBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_previousPage = ToolButton("◀ 前", "previousPage", bar);
    m_previousPage->setToolTip(QString::fromUtf8("前のページ（Page Up）"));
    m_pageNumber = new QLabel(bar);
    m_pageNumber->setObjectName(QStringLiteral("pageNumber"));
    m_nextPage = ToolButton("次 ▶", "nextPage", bar);
    m_nextPage->setToolTip(QString::fromUtf8("次のページ（Page Down）"));
    auto* zoomOut = ToolButton("縮小", "zoomOut", bar);
    auto* zoomIn = ToolButton("拡大", "zoomIn", bar);
    auto* fitWidth = ToolButton("幅に合わせる", "fitWidth", bar);
    auto* rotate = ToolButton("回転", "rotate", bar);
    for (QWidget* widget : {static_cast<QWidget*>(m_previousPage),
                            static_cast<QWidget*>(m_pageNumber), static_cast<QWidget*>(m_nextPage)})
        row->addWidget(widget);
    row->addStretch();
    for (QPushButton* button : {zoomOut, zoomIn, fitWidth, rotate})
        row->addWidget(button);

    connect(m_previousPage, &QPushButton::clicked, this, [this] {
        m_view->GoTo(m_view->Page() - 1);
        ShowPageNumber();
    });
    connect(m_nextPage, &QPushButton::clicked, this, [this] {
        m_view->GoTo(m_view->Page() + 1);
        ShowPageNumber();
    });
    connect(zoomOut, &QPushButton::clicked, m_view, &PageView::ZoomOut);
    connect(zoomIn, &QPushButton::clicked, m_view, &PageView::ZoomIn);
    connect(fitWidth, &QPushButton::clicked, m_view, &PageView::FitWidth);
    connect(rotate, &QPushButton::clicked, m_view, &PageView::Rotate);
    return bar;
}

QWidget* CPreviewWnd::BuildProposalPanel() {
    auto* panel =
        new QGroupBox(QString::fromUtf8("書類から読み取った候補（クリックで入力）"), this);
    auto* grid = new QGridLayout(panel);
    const auto addRow = [&](int row, const char* caption, const char* name, ProposalField field) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(name));
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setMenu(new QMenu(button));
        connect(button, &QToolButton::clicked, this, [this, button, field] {
            // The best proposal; the others are in the button's menu.
            const QString value = button->property("value").toString();
            if (!value.isEmpty())
                emit proposalChosen(field, value);
        });
        grid->addWidget(new QLabel(QString::fromUtf8(caption), panel), row, 0);
        grid->addWidget(button, row, 1);
        return button;
    };
    m_dateButton = addRow(0, "【年月日】", "dateProposal", ProposalField::Date);
    m_companyButton = addRow(1, "【会社名】", "companyProposal", ProposalField::Company);
    m_amountButton = addRow(2, "【金額】", "amountProposal", ProposalField::Amount);
    m_status = new QLabel(panel);
    m_status->setObjectName(QStringLiteral("proposalStatus"));
    m_status->setWordWrap(true);
    grid->addWidget(m_status, 3, 0, 1, 2);
    return panel;
}

void CPreviewWnd::ShowSource(const std::string& path) {
    m_path = path;
    m_text.reset();
    m_proposals = {};
    m_job->Stop();
    auto document = std::make_shared<const SourceDocument>(Q(path));
    if (path.empty()) {
        m_view->ShowNote(QString::fromUtf8(kNoSourceNote));
    } else if (document->problem() != SourceDocument::Problem::None) {
        m_view->ShowNote(NoteFor(document->problem()));
    } else {
        m_view->SetDocument(document);
        m_job->Start(Q(path));
    }
    ShowPageNumber();
    ShowProposals();
}

void CPreviewWnd::SetContext(ProposalContext context) {
    m_context = std::move(context);
    if (!m_text)
        return;
    const RegistrationStore store(m_settingsFolder);
    m_proposals = ProposeFields(m_text->text, m_context, &store);
    ShowProposals();
}

void CPreviewWnd::OnTextRead(const QString& path, const ExtractedText& text) {
    if (path.toStdString() != m_path)
        return;
    m_text = std::make_unique<ExtractedText>(text);
    SetContext(m_context);
}

bool CPreviewWnd::Reading() const {
    return m_job->Running();
}

std::vector<std::string> CPreviewWnd::RegistrationNumbers() const {
    return m_proposals.registrationNumbers;
}

void CPreviewWnd::ShowProposals() {
    const auto fill = [this](QToolButton* button, ProposalField field,
                             const std::vector<Candidate>& candidates) {
        QMenu* menu = button->menu();
        menu->clear();
        for (const Candidate& candidate : candidates) {
            const QString value = Q(candidate.value);
            connect(menu->addAction(Shown(field, candidate.value)), &QAction::triggered, this,
                    [this, field, value] { emit proposalChosen(field, value); });
        }
        const bool any = !candidates.empty();
        button->setProperty("value", any ? Q(candidates.front().value) : QString());
        button->setText(any ? QString::fromUtf8(kProposalPrefix) +
                                  Shown(field, candidates.front().value)
                            : QString::fromUtf8(kNoProposal));
        button->setEnabled(any);
    };
    fill(m_dateButton, ProposalField::Date, m_proposals.dates);
    fill(m_companyButton, ProposalField::Company, m_proposals.companies);
    fill(m_amountButton, ProposalField::Amount, m_proposals.amounts);

    const bool nothing =
        m_proposals.dates.empty() && m_proposals.companies.empty() && m_proposals.amounts.empty();
    if (Reading())
        m_status->setText(QString::fromUtf8(kReadingStatus));
    else if (!m_text)
        m_status->clear();
    else if (nothing)
        m_status->setText(QString::fromUtf8(kNothingFoundStatus));
    else
        m_status->setText(
            QString::fromUtf8(m_text->recognised ? kRecognisedStatus : kTextLayerStatus));
}

void CPreviewWnd::ShowPageNumber() {
    const int count = m_view->PageCount();
    m_pageNumber->setText(count > 0 ? QStringLiteral("%1 / %2").arg(m_view->Page() + 1).arg(count)
                                    : QString());
    m_previousPage->setEnabled(m_view->Page() > 0);
    m_nextPage->setEnabled(m_view->Page() + 1 < count);
}

void CPreviewWnd::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        m_nextPage->click();
        return;
    case Qt::Key_PageUp:
        m_previousPage->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CPreviewWnd::ShowBeside(QWidget& anchor) {
    MoveBeside(anchor);
    show();
}

void CPreviewWnd::MoveBeside(QWidget& anchor) {
    const std::optional<WindowRect> saved = m_place.Read();
    QRect place;
    if (saved)
        place = QRect(saved->left, saved->top, saved->width, saved->height);
    // A place on a screen that is no longer there is not used.
    if (!saved || !QGuiApplication::screenAt(place.center())) {
        MakeRoomBeside(anchor);
        place = PlaceBeside(anchor.frameGeometry(), anchor.screen());
    }
    setGeometry(place);
}

void CPreviewWnd::MakeRoomBeside(QWidget& anchor) {
    const QScreen* screen = anchor.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = anchor.frameGeometry();
    const int wanted = std::min(kDefaultSize.width(), available.width() - frame.width() - kGap);
    const int rightRoom = available.right() - frame.right() - kGap;
    const int leftRoom = frame.left() - available.left() - kGap;
    if (std::max(rightRoom, leftRoom) >= std::min(kReadableWidth, wanted))
        return;
    anchor.move(anchor.pos() + QPoint(available.left() - frame.left(), 0));
}

QRect CPreviewWnd::PlaceBeside(const QRect& anchor, const QScreen* screen) const {
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (available.isEmpty())
        return QRect(QPoint(anchor.right() + kGap, anchor.top()), kDefaultSize);
    // Right of the filing window, else left of it, else on the side with more room, as narrow
    // as the window can be.
    const int rightRoom = available.right() - anchor.right() - kGap;
    const int leftRoom = anchor.left() - available.left() - kGap;
    QSize size = kDefaultSize.boundedTo(available.size());
    const bool right = rightRoom >= size.width() || rightRoom >= leftRoom;
    const int room = right ? rightRoom : leftRoom;
    if (room < size.width())
        size.setWidth(std::max(room, minimumSizeHint().width()));
    // On the screen, if need be over the edge of the filing window (which stays on top).
    const int left = std::clamp(right ? anchor.right() + kGap : anchor.left() - kGap - size.width(),
                                available.left(),
                                std::max(available.left(), available.right() + 1 - size.width()));
    const int top = std::clamp(anchor.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - size.height()));
    return QRect(QPoint(left, top), size);
}

void CPreviewWnd::hideEvent(QHideEvent* event) {
    SavePlace();
    QWidget::hideEvent(event);
}

void CPreviewWnd::SavePlace() const {
    // The place is a convenience: when it cannot be kept, the window opens beside the filing
    // window next time, and nothing else is lost.
    const QRect place = geometry();
    m_place.Save({place.left(), place.top(), place.width(), place.height()});
}

} // namespace fmb
