#include "app/CFumibakoDlg.h"

#include "app/CMenuDlg.h"
#include "filing/AmountText.h"
#include "filing/CKingakuDig.h"
#include "filing/Composition.h"
#include "filing/CopyIntoStorage.h"
#include "filing/EntryValidation.h"
#include "ledger/LedgerFiling.h"
#include "platform/DateText.h"
#include "platform/DecimalText.h"
#include "platform/DesktopOpen.h"
#include "platform/KeyFilter.h"
#include "platform/ListBox.h"
#include "platform/Pictures.h"
#include "proposal/CounterpartyReader.h"
#include "proposal/RegistrationStore.h"
#include "res/ControlIds.h"
#include "search/CKensakuDlg.h"
#include "settings/CSettingDlg.h"
#include "settings/CSyainEditDlg.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTextCharFormat>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace fmb {
namespace {

using namespace ids::filing;

// The type buttons of one page.
constexpr int kTypeButtonsPerPage = static_cast<int>(kTypeButtons.size());
constexpr int kPages = 3;

const char* const kNoStorageRootMessage =
    "保存先フォルダが設定されていないので、設定してください。";
const char* const kChooseTypeMessage = "種類ボタンを押下して、種類を選択してください";
const char* const kCopiedMessage = "コピーしました。";
const char* const kSingleAmountCaption = "複数";
const char* const kMultipleAmountsCaption = "*複数 ";
const char* const kRegistrationNotSavedMessage =
    "書類はコピーしましたが、登録番号と会社名の記録を保存できませんでした。";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A button shows "&" as the underline of a shortcut; a type name shows it as it is.
QString ButtonCaption(const std::string& text) {
    return Q(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

int FieldControl(EntryField field) {
    switch (field) {
    case EntryField::Date:
        return kDateField;
    case EntryField::Company:
        return kCompanyField;
    case EntryField::Amount:
        return kAmountField;
    case EntryField::Remark:
        break;
    }
    return kRemarkField;
}

// The first of the dropped items, when it is a local file or folder.
QString DroppedPath(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return QString();
    const QUrl first = data->urls().first();
    return first.isLocalFile() ? QDir::toNativeSeparators(first.toLocalFile()) : QString();
}

} // namespace

CFumibakoDlg::CFumibakoDlg(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::Filing, parent), m_env(env), m_settings(env.settingsFolder),
      m_typeData(env.settingsFolder), m_preview(new CPreviewWnd(env.settingsFolder, this)) {
    // The minimised window and the taskbar show the application icon.
    setWindowIcon(AppIcon());
    SetUpCalendar();

    const auto clicked = [this](int id, auto handler) {
        connect(Control<QAbstractButton>(id), &QAbstractButton::clicked, this, handler);
    };
    clicked(kBrowseButton, [this] { OnBrowse(); });
    clicked(kOpenSourceButton, [this] { OnOpenSource(); });
    for (int button = 1; button <= kTypeButtonsPerPage; ++button)
        clicked(kTypeButtons[button - 1], [this, button] { OnTypeButton(button); });
    clicked(kPageBackButton, [this] { OnPageBack(); });
    clicked(kPageForwardButton, [this] { OnPageForward(); });
    clicked(kLastMonthEndButton, [this] { OnDateButton(MonthEndText(-1, m_env.clock)); });
    clicked(kTodayButton, [this] { OnDateButton(TodayText(m_env.clock)); });
    clicked(kThisMonthEndButton, [this] { OnDateButton(MonthEndText(0, m_env.clock)); });
    clicked(kEditCompaniesButton, [this] { OnEditCompanies(); });
    for (const KeypadButton& button : kKeypadButtons)
        clicked(button.controlId, [this, &button] { OnKeypad(button); });
    clicked(kMultipleAmountsButton, [this] { OnMultipleAmounts(); });
    clicked(kExecuteButton, [this] { OnExecute(); });
    clicked(kMenuButton, [this] { OnMenu(); });
    clicked(kSearchButton, [this] { OnSearch(); });
    clicked(kStorageFolderButton, [this] { OnOpenStorageFolder(); });

    // A day picked with the mouse or with Enter; the calendar's paging and the program's own
    // moves of its selection change nothing.
    auto* calendar = Control<QCalendarWidget>(kCalendar);
    connect(calendar, &QCalendarWidget::clicked, this, &CFumibakoDlg::OnCalendarPick);
    connect(calendar, &QCalendarWidget::activated, this, &CFumibakoDlg::OnCalendarPick);

    // A company chosen in the list, also the one already chosen when it is clicked again.
    auto* companies = Control<ListBox>(kCompanyList);
    connect(companies, &QListWidget::itemSelectionChanged, this, [this] { OnCompanyPicked(); });
    connect(companies, &QListWidget::itemClicked, this, [this] { OnCompanyPicked(); });

    // Text changes, by the user or by the program, as the edits' change notifications: every
    // input of the entry composes at once, so the folder and file-name fields always show where
    // 実行 files it.
    for (int id : {kSourceField, kCompanyField, kRemarkField})
        connect(Control<QLineEdit>(id), &QLineEdit::textChanged, this,
                [this] { ComposeDestination(); });
    connect(Control<QLineEdit>(kDateField), &QLineEdit::textChanged, this,
            [this] { OnDateChanged(); });
    connect(Control<QLineEdit>(kAmountField), &QLineEdit::textChanged, this,
            [this] { OnAmountChanged(); });

    // The preview follows every change of the source: a drop, 参照, typing, and the clearing
    // after 実行.
    connect(Control<QLineEdit>(kSourceField), &QLineEdit::textChanged, m_preview,
            [this](const QString& path) { m_preview->ShowSource(path.toStdString()); });
    connect(m_preview, &CPreviewWnd::proposalChosen, this, &CFumibakoDlg::OnProposal);
    auto* showPreview = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(showPreview, &QShortcut::activated, this, &CFumibakoDlg::ShowPreview);

    InstallCommonKeyFilter(*this);
    OnInitDialog();
}

void CFumibakoDlg::showEvent(QShowEvent* event) {
    TemplateDialog::showEvent(event);
    if (!m_previewPlaced) {
        m_previewPlaced = true;
        ShowPreview();
        // Again once this window stands where the window system put it.
        QTimer::singleShot(0, m_preview, [this] { m_preview->MoveBeside(*this); });
    }
}

void CFumibakoDlg::ShowPreview() {
    if (m_preview->isVisible()) {
        m_preview->raise();
        return;
    }
    m_preview->ShowBeside(*this);
}

void CFumibakoDlg::SetUpCalendar() {
    // Japanese day names in one character each and a smaller font, so that a whole month fits
    // the calendar's small rectangle without cut names.
    auto* calendar = Control<QCalendarWidget>(kCalendar);
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.8);
    calendar->setFont(small);
    QTextCharFormat header = calendar->headerTextFormat();
    header.setFont(small);
    calendar->setHeaderTextFormat(header);
}

void CFumibakoDlg::OnInitDialog() {
    // Today of the local clock, as 本日 writes it (the calendar's own default may be another day).
    const LocalDate today = m_env.clock.Today();
    Control<QCalendarWidget>(kCalendar)->setSelectedDate(QDate(today.year, today.month, today.day));
    m_lastDestFolder.clear();
    m_settings.ReadIni();
    m_typeData.ReadIni();
    RefreshTypeButtons(true);
    if (m_settings.COPY_SAKI_DIR.empty()) {
        // A first start: the settings dialog also writes the default types. The window opens
        // whatever the user did there.
        m_env.messages.Notice(kNoStorageRootMessage);
        CSettingDlg settings(m_env, this);
        m_env.modal.RunModal(settings);
        m_settings.ReadIni();
    }
    m_typeData.ReadIni();
    RefreshTypeButtons(true);
    // The first control in tab order.
    Control<QLineEdit>(kSourceField)->setFocus();
}

std::string CFumibakoDlg::Text(int id) const {
    return Control<QLineEdit>(id)->text().toStdString();
}

void CFumibakoDlg::SetText(int id, const std::string& text) {
    Control<QLineEdit>(id)->setText(Q(text));
}

FilingEntry CFumibakoDlg::Entry() const {
    FilingEntry entry;
    entry.sourcePath = Text(kSourceField);
    entry.typeName = Text(kTypeNameField);
    entry.date = Text(kDateField);
    entry.company = Text(kCompanyField);
    entry.amount = Text(kAmountField);
    entry.extraPlain = m_extraAmountsPlain;
    entry.extraComma = m_extraAmountsComma;
    entry.remark = Text(kRemarkField);
    return entry;
}

void CFumibakoDlg::ComposeDestination() {
    const Destination destination = fmb::ComposeDestination(Entry(), m_settings);
    SetText(kFolderField, destination.folder);
    if (destination.hasFiscalYear)
        m_lastDestFolder = destination.folder;
    SetText(kFileNameField, destination.fileName);
}

// ---- Source file --------------------------------------------------------------------------------

void CFumibakoDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CFumibakoDlg::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CFumibakoDlg::dropEvent(QDropEvent* event) {
    // Only the first of several dropped files is taken.
    const QString path = DroppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    Control<QLineEdit>(kSourceField)->setText(path);
    ComposeDestination();
    event->acceptProposedAction();
}

void CFumibakoDlg::OnBrowse() {
    if (const std::optional<std::string> chosen = m_env.pickers.PickOpenFile()) {
        SetText(kSourceField, *chosen);
        ComposeDestination(); // also when the same file is chosen again
    }
}

void CFumibakoDlg::OnOpenSource() {
    OpenPathOrTell(m_env, Text(kSourceField));
}

// ---- Document types -----------------------------------------------------------------------------

void CFumibakoDlg::RefreshTypeButtons(bool clearSelection) {
    if (clearSelection)
        m_selectedType = -1;
    // The chosen type's button is checked whenever its page is shown, so the buttons, the type
    // name field and 編集 always agree on the type.
    const int offset = (m_typePage - 1) * kTypeButtonsPerPage;
    for (int button = 1; button <= kTypeButtonsPerPage; ++button) {
        const int id = kTypeButtons[button - 1];
        auto* control = Control<QAbstractButton>(id);
        const int typeIndex = offset + button - 1;
        const bool exists = typeIndex < m_typeData.TypeCount();
        control->setEnabled(exists);
        control->setChecked(exists && typeIndex == m_selectedType);
        control->setText(exists ? ButtonCaption(m_typeData.TypeName(typeIndex)) : QString());
        FitCaption(id);
    }
}

void CFumibakoDlg::OnTypeButton(int button) {
    // The clicked button stays checked, even when it was checked before.
    for (int other = 1; other <= kTypeButtonsPerPage; ++other)
        Control<QAbstractButton>(kTypeButtons[other - 1])->setChecked(other == button);
    m_selectedType = (m_typePage - 1) * kTypeButtonsPerPage + button - 1;
    ShowType(m_selectedType);
    ComposeDestination();
    SetText(kCompanyField, ""); // composes again when it held a company
}

void CFumibakoDlg::ShowType(int typeIndex) {
    if (typeIndex < 0)
        return;
    SetText(kTypeNameField, m_typeData.TypeName(typeIndex));
    std::vector<std::string> names;
    m_typeData.GetCompanyNames(typeIndex, names);
    auto* companies = Control<ListBox>(kCompanyList);
    companies->clear();
    for (const std::string& name : names)
        companies->AddString(name);
    // The type's companies are proposed first; a type of issued documents proposes the addressee.
    m_preview->SetContext({m_typeData.TypeName(typeIndex), names});
}

void CFumibakoDlg::OnPageBack() {
    if (m_typePage > 1)
        ShowTypePage(m_typePage - 1);
}

void CFumibakoDlg::OnPageForward() {
    if (m_typePage < kPages)
        ShowTypePage(m_typePage + 1);
}

void CFumibakoDlg::ShowTypePage(int page) {
    // The chosen type stays chosen on another page.
    m_typePage = page;
    RefreshTypeButtons(false);
    ComposeDestination();
}

// ---- Date ---------------------------------------------------------------------------------------

void CFumibakoDlg::OnCalendarPick(const QDate& day) {
    SetText(kDateField, DateText({day.year(), day.month(), day.day()}));
    ComposeDestination();
}

void CFumibakoDlg::OnDateChanged() {
    // An input method in full-width mode types ２０２２…; the field shows and files the digits.
    QLineEdit& field = *Control<QLineEdit>(kDateField);
    const std::string typed = field.text().toStdString();
    const std::string digits = HalfWidthDigits(typed);
    if (digits != typed) {
        // Each digit keeps its place, so the cursor does too; the new text comes back here.
        const int cursor = field.cursorPosition();
        field.setText(Q(digits));
        field.setCursorPosition(cursor);
        return;
    }
    ComposeDestination();
}

void CFumibakoDlg::OnDateButton(const std::string& dateText) {
    SetText(kDateField, dateText);
    ComposeDestination();
    const LocalDate day = DateOfText(dateText);
    Control<QCalendarWidget>(kCalendar)->setSelectedDate(QDate(day.year, day.month, day.day));
}

// ---- Company and amount -------------------------------------------------------------------------

void CFumibakoDlg::OnCompanyPicked() {
    const QList<QListWidgetItem*> selected = Control<ListBox>(kCompanyList)->selectedItems();
    if (selected.isEmpty())
        return;
    Control<QLineEdit>(kCompanyField)->setText(selected.first()->text());
    ComposeDestination();
}

void CFumibakoDlg::OnEditCompanies() {
    if (m_selectedType < 0) {
        m_env.messages.Notice(kChooseTypeMessage);
        return;
    }
    CSyainEditDlg editor(m_env, m_typeData, m_selectedType, this);
    m_env.modal.RunModal(editor);
    // The editor hands back the store as it saved it, or as it was.
    m_typeData = editor.TypeData();
    // A renamed type shows its new name in the field and on its button, which stays checked.
    ShowType(m_selectedType);
    RefreshTypeButtons(false);
    ComposeDestination();
}

void CFumibakoDlg::OnKeypad(const KeypadButton& button) {
    // The amount's change handler limits, cleans and shows the result.
    SetText(kAmountField, PressKeypad(Text(kAmountField), button));
}

void CFumibakoDlg::OnAmountChanged() {
    const std::string typed = Text(kAmountField);
    const CleanedAmount cleaned = CleanAmount(typed);
    if (cleaned.wasTooLong)
        m_env.messages.Notice(kAmountTooLongMessage);
    if (cleaned.text != typed) {
        // The cleaned text comes back through this handler, which shows and composes it.
        SetText(kAmountField, cleaned.text);
        return;
    }
    SetText(kGroupedAmount, FormatThousands(cleaned.text));
    ComposeDestination();
}

void CFumibakoDlg::OnMultipleAmounts() {
    CKingakuDig::AmountList amounts;
    amounts[0] = Text(kAmountField);
    std::copy(m_extraAmounts.begin(), m_extraAmounts.end(), amounts.begin() + 1);
    CKingakuDig dialog(m_env, amounts, this);
    if (m_env.modal.RunModal(dialog) != QDialog::Rejected) {
        SetText(kAmountField, dialog.Amounts()[0]);
        std::copy(dialog.Amounts().begin() + 1, dialog.Amounts().end(), m_extraAmounts.begin());
        m_extraAmountsPlain = dialog.ExtraPlain();
        m_extraAmountsComma = dialog.ExtraComma();
    }
    ComposeDestination();
    ShowMultipleAmountsCaption();
}

void CFumibakoDlg::ShowMultipleAmountsCaption() {
    Control<QPushButton>(kMultipleAmountsButton)
        ->setText(QString::fromUtf8(m_extraAmountsPlain.empty() ? kSingleAmountCaption
                                                                : kMultipleAmountsCaption));
    FitCaption(kMultipleAmountsButton);
}

// ---- Execute ------------------------------------------------------------------------------------

void CFumibakoDlg::OnExecute() {
    const FilingEntry entry = Entry();
    if (const std::optional<EntryRefusal> refusal = ValidateEntry(entry)) {
        m_env.messages.Notice(refusal->message);
        Control<QWidget>(FieldControl(refusal->field))->setFocus();
        return;
    }
    // Filed exactly under the folder and name the window shows, whatever the user made of them,
    // and recorded in the storage root's ledger.
    const Ledger ledger(m_settings.COPY_SAKI_DIR);
    AskingDuplicateDecision duplicates(m_env.messages);
    LedgerFilingRecorder recorder(ledger, FactsOf(entry, m_settings.SYORI_TANTOUSYA), duplicates,
                                  m_env.messages);
    const CopyResult result =
        CopyIntoStorage(entry.sourcePath, m_settings.COPY_SAKI_DIR, Text(kFolderField),
                        Text(kFileNameField), m_env.messages, &recorder);
    if (result != CopyResult::Filed) {
        // The copy has told why; the entry stays for another try. A name already taken is
        // changed through the remark, as the message says.
        if (result == CopyResult::NameTaken)
            Control<QWidget>(kRemarkField)->setFocus();
        return;
    }
    m_env.messages.Notice(kCopiedMessage);
    RememberRegistration(entry.company);

    // The extra amounts go first, so that the compositions the clearing runs do not show them.
    m_extraAmounts = {};
    m_extraAmountsPlain.clear();
    m_extraAmountsComma.clear();
    ShowMultipleAmountsCaption();
    // The type stays chosen for the next document; its company list shows no company picked.
    Control<ListBox>(kCompanyList)->clearSelection();
    for (int id : {kSourceField, kFolderField, kFileNameField, kDateField, kCompanyField,
                   kAmountField, kGroupedAmount, kRemarkField})
        SetText(id, "");
}

void CFumibakoDlg::RememberRegistration(const std::string& company) {
    // An issued document carries the user's own number, which says nothing of the addressee.
    if (company.empty() || IsIssuedDocumentType(Text(kTypeNameField)))
        return;
    const RegistrationStore store(m_env.settingsFolder);
    for (const std::string& number : m_preview->RegistrationNumbers()) {
        if (!store.Remember(number, company)) {
            m_env.messages.Notice(kRegistrationNotSavedMessage);
            return;
        }
    }
}

// ---- Proposals ----------------------------------------------------------------------------------

void CFumibakoDlg::OnProposal(ProposalField field, const QString& value) {
    // Filled only on the user's click, like a date button or the keypad; each field's own change
    // handling composes again.
    switch (field) {
    case ProposalField::Date:
        OnDateButton(value.toStdString());
        return;
    case ProposalField::Company:
        SetText(kCompanyField, value.toStdString());
        return;
    case ProposalField::Amount:
        SetText(kAmountField, value.toStdString());
        return;
    }
}

// ---- Menu and storage folder --------------------------------------------------------------------

void CFumibakoDlg::OnMenu() {
    CMenuDlg menu(m_env, this);
    m_env.modal.RunModal(menu);
    // The settings dialog may have changed the storage root or the flags: show their effect at
    // once, however the menu was closed.
    m_settings.ReadIni();
    ComposeDestination();
}

void CFumibakoDlg::OnSearch() {
    CKensakuDlg search(m_env, this);
    m_env.modal.RunModal(search);
}

void CFumibakoDlg::OnOpenStorageFolder() {
    // The folder of the latest entry with a fiscal year, which the first copy into it creates;
    // before it exists, the desktop alone decides what to show.
    OpenPathOrTell(m_env, m_lastDestFolder.empty() ? m_settings.COPY_SAKI_DIR : m_lastDestFolder);
}

} // namespace fmb
