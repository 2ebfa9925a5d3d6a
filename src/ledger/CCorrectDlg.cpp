#include "ledger/CCorrectDlg.h"

#include "filing/AmountText.h"
#include "filing/CopyIntoStorage.h"
#include "ledger/Correction.h"
#include "ledger/StoredFields.h"
#include "platform/DecimalText.h"
#include "platform/KeyFilter.h"
#include "platform/PathText.h"
#include "res/ControlIds.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace fmb {
namespace {

using namespace ids::correct;

constexpr const char* kChooseDocumentMessage = "訂正・削除する書類を選んでください。";

} // namespace

CCorrectDlg::CCorrectDlg(const Environment& env, QWidget* parent, const std::string& storedPath)
    : TemplateDialog(DialogId::Correct, parent), m_env(env), m_settings(env.settingsFolder) {
    m_settings.ReadIni();
    SetText(kPersonField, m_settings.SYORI_TANTOUSYA);
    connect(Control<QPushButton>(kChooseDocumentButton), &QPushButton::clicked, this,
            [this] { OnChooseDocument(); });
    connect(Control<QPushButton>(kChooseSourceButton), &QPushButton::clicked, this,
            [this] { OnChooseSource(); });
    connect(Control<QPushButton>(kClearSourceButton), &QPushButton::clicked, this, [this] {
        SetText(kSourceField, "");
        ShowCorrectedName();
    });
    connect(Control<QPushButton>(kCorrectButton), &QPushButton::clicked, this,
            [this] { OnCorrect(); });
    connect(Control<QPushButton>(kDeleteButton), &QPushButton::clicked, this,
            [this] { OnDelete(); });
    connect(Control<QPushButton>(ids::kCancel), &QPushButton::clicked, this, [this] { reject(); });
    for (int id : {kTypeField, kDateField, kCompanyField, kAmountField, kExtraField, kRemarkField})
        connect(Control<QLineEdit>(id), &QLineEdit::textChanged, this,
                [this] { ShowCorrectedName(); });
    // Enter in a field must not close the dialog half-way through a correction.
    InstallCommonKeyFilter(*this);
    if (!storedPath.empty())
        ShowDocument(storedPath);
}

std::string CCorrectDlg::Text(int id) const {
    return Control<QLineEdit>(id)->text().toStdString();
}

void CCorrectDlg::SetText(int id, const std::string& text) {
    Control<QLineEdit>(id)->setText(QString::fromStdString(text));
}

FilingEntry CCorrectDlg::Entry() const {
    FilingEntry entry;
    entry.typeName = Text(kTypeField);
    entry.date = HalfWidthDigits(Text(kDateField));
    entry.company = Text(kCompanyField);
    entry.amount = HalfWidthDigits(Text(kAmountField));
    entry.remark = Text(kRemarkField);
    std::vector<std::string> extra;
    for (const QString& amount :
         QString::fromStdString(HalfWidthDigits(Text(kExtraField))).split(' ', Qt::SkipEmptyParts))
        extra.push_back(amount.toStdString());
    const ExtraAmountTexts joined = JoinExtraAmounts(extra);
    entry.extraPlain = joined.plain;
    entry.extraComma = joined.comma;
    return entry;
}

void CCorrectDlg::OnChooseDocument() {
    const auto chosen = m_env.pickers.PickOpenFileIn(m_settings.COPY_SAKI_DIR);
    if (!chosen)
        return;
    ShowDocument(*chosen);
}

void CCorrectDlg::ShowDocument(const std::string& storedPath) {
    const Ledger ledger(m_settings.COPY_SAKI_DIR);
    if (ledger.RelativePath(storedPath).empty()) {
        m_env.messages.Notice("保存先フォルダの中の書類を選んでください。\n\n" + storedPath);
        return;
    }
    const FilingEntry entry = EntryOfStoredDocument(ledger, storedPath);
    SetText(kStoredField, storedPath);
    SetText(kTypeField, entry.typeName);
    SetText(kDateField, entry.date);
    SetText(kCompanyField, entry.company);
    SetText(kAmountField, entry.amount);
    // [120000][30000] shows as 120000 30000.
    std::string extra = entry.extraPlain;
    std::replace(extra.begin(), extra.end(), '[', ' ');
    std::replace(extra.begin(), extra.end(), ']', ' ');
    SetText(kExtraField, QString::fromStdString(extra).simplified().toStdString());
    SetText(kRemarkField, entry.remark);
    SetText(kSourceField, "");
    ShowCorrectedName();
}

void CCorrectDlg::OnChooseSource() {
    if (const auto chosen = m_env.pickers.PickOpenFile()) {
        SetText(kSourceField, *chosen);
        ShowCorrectedName();
    }
}

void CCorrectDlg::ShowCorrectedName() {
    std::string name;
    if (!Text(kStoredField).empty()) {
        const ChangeRequest request{Text(kStoredField), {}, {}};
        name = CorrectedDestination(request, Entry(), Text(kSourceField), m_settings).fileName;
    }
    Control<QLabel>(kCorrectedName)->setText(QString::fromStdString(name));
}

bool CCorrectDlg::Ready() {
    if (Text(kStoredField).empty()) {
        m_env.messages.Notice(kChooseDocumentMessage);
        Control<QWidget>(kChooseDocumentButton)->setFocus();
        return false;
    }
    const ChangeRequest request{Text(kStoredField), Text(kReasonField), Text(kPersonField)};
    if (const auto refusal = RefuseChangeRequest(request)) {
        m_env.messages.Notice(*refusal);
        Control<QWidget>(request.reason.empty() ? kReasonField : kPersonField)->setFocus();
        return false;
    }
    return true;
}

void CCorrectDlg::OnCorrect() {
    if (!Ready())
        return;
    const ChangeRequest request{Text(kStoredField), Text(kReasonField), Text(kPersonField)};
    const FilingEntry entry = Entry();
    const Destination destination =
        CorrectedDestination(request, entry, Text(kSourceField), m_settings);
    if (!m_env.messages.Question(
            CorrectionQuestion(request, StoredFilePath(destination.folder, destination.fileName))))
        return;
    const Ledger ledger(m_settings.COPY_SAKI_DIR);
    if (CorrectDocument(ledger, request, entry, Text(kSourceField), m_settings, m_env.messages) < 0)
        return;
    m_env.messages.Notice(std::string(kCorrectedMessage) + "\n\n" +
                          StoredFilePath(destination.folder, destination.fileName));
    // The corrected document is the one to look at now.
    ShowDocument(StoredFilePath(destination.folder, destination.fileName));
    SetText(kReasonField, "");
}

void CCorrectDlg::OnDelete() {
    if (!Ready())
        return;
    const ChangeRequest request{Text(kStoredField), Text(kReasonField), Text(kPersonField)};
    if (!m_env.messages.Question(DeletionQuestion(request)))
        return;
    if (DeleteDocument(Ledger(m_settings.COPY_SAKI_DIR), request, m_env.messages) < 0)
        return;
    m_env.messages.Notice(std::string(kDeletedMessage));
    for (int id : {kStoredField, kTypeField, kDateField, kCompanyField, kAmountField, kExtraField,
                   kRemarkField, kSourceField, kReasonField})
        SetText(id, "");
}

} // namespace fmb
