#include "settings/CSyainEditDlg.h"

#include "platform/KeyFilter.h"
#include "platform/ListBox.h"
#include "res/ControlIds.h"
#include "settings/CompanyNameRules.h"
#include "settings/SaveMessages.h"

#include <QLineEdit>
#include <QPushButton>

namespace fmb {

using namespace ids::syainEdit;

namespace {

const char* const kSelectCompany = "リストより「社名」を選択ください。";
const char* const kUnfinishedEntry =
    "社名が入力途中のものがあります。\n\n「削除」「修正」「追加」または「クリア」後に、\n"
    "再度、押下してください。";
const char* const kSaved = "保存しました。";
const char* const kRenamed =
    "【お知らせ】種類名の変更がありました。\n\n旧種類名のフォルダ名が変更されるわけではなく、\n"
    "「旧種類名」のフォルダはそのままに、今後「新種類名」のフォルダが出来て、そこにファイルがコピー"
    "されます。";
const char* const kCloseWithoutSaving = "保存しないで終了します。よろしいですか？";

const QString kCompanyMark = QStringLiteral("(株)");

} // namespace

CSyainEditDlg::CSyainEditDlg(const Environment& env, const CFMBSyameiData& typeData, int typeIndex,
                             QWidget* parent)
    : TemplateDialog(DialogId::SyainEdit, parent), m_env(env), m_typeData(typeData),
      m_typeIndex(typeIndex), m_typeName(*Control<QLineEdit>(kTypeNameField)),
      m_list(*Control<ListBox>(kCompanyList)), m_entry(*Control<QLineEdit>(kEntryField)) {
    connect(Control<QPushButton>(kAddButton), &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(Control<QPushButton>(kReplaceButton), &QPushButton::clicked, this,
            [this] { OnReplace(); });
    connect(Control<QPushButton>(kDeleteButton), &QPushButton::clicked, this,
            [this] { OnDelete(); });
    connect(Control<QPushButton>(kMarkFrontButton), &QPushButton::clicked, this,
            [this] { m_entry.setText(kCompanyMark + m_entry.text()); });
    connect(Control<QPushButton>(kMarkBackButton), &QPushButton::clicked, this,
            [this] { m_entry.setText(m_entry.text() + kCompanyMark); });
    connect(Control<QPushButton>(kClearButton), &QPushButton::clicked, this,
            [this] { m_entry.clear(); });
    connect(&m_list, &ListBox::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    InstallCommonKeyFilter(*this);
    OnInitDialog();
}

void CSyainEditDlg::OnInitDialog() {
    if (m_typeIndex < 0)
        return;
    m_nameAtOpening = m_typeData.TypeName(m_typeIndex);
    m_typeName.setText(QString::fromStdString(m_nameAtOpening));
    std::vector<std::string> companies;
    m_typeData.GetCompanyNames(m_typeIndex, companies);
    m_list.clear();
    for (const std::string& company : companies)
        m_list.AddString(company);
}

int CSyainEditDlg::SelectedRow() const {
    const QList<QListWidgetItem*> selected = m_list.selectedItems();
    return selected.isEmpty() ? -1 : m_list.row(selected.first());
}

std::vector<std::string> CSyainEditDlg::ListedNames() const {
    std::vector<std::string> names;
    for (const QString& text : m_list.Texts())
        names.push_back(text.toStdString());
    return names;
}

void CSyainEditDlg::OnSelectionChanged() {
    const int row = SelectedRow();
    if (row >= 0)
        m_entry.setText(m_list.item(row)->text());
}

void CSyainEditDlg::RefuseEntry(const std::string& message) {
    // The name stays in its field, with the focus, to be corrected.
    m_env.messages.Notice(message);
    m_entry.setFocus();
}

void CSyainEditDlg::OnAdd() {
    const std::string name = m_entry.text().toStdString();
    if (const auto refusal = RefuseCompanyToAdd(name, ListedNames())) {
        RefuseEntry(*refusal);
        return;
    }
    m_list.scrollToItem(m_list.item(m_list.AddString(name)));
    m_entry.clear();
}

void CSyainEditDlg::OnReplace() {
    const int row = SelectedRow();
    if (row < 0) {
        m_env.messages.Notice(kSelectCompany);
        return;
    }
    const QString name = m_entry.text();
    if (const auto refusal = RefuseCompanyToReplace(name.toStdString())) {
        RefuseEntry(*refusal);
        return;
    }
    // Filled again, the list puts the changed name where it sorts and selects nothing.
    QStringList names = m_list.Texts();
    names[row] = name;
    m_list.clear();
    for (const QString& text : names)
        m_list.AddString(text);
    m_entry.clear();
}

void CSyainEditDlg::OnDelete() {
    const int row = SelectedRow();
    if (row < 0) {
        m_env.messages.Notice(kSelectCompany);
        return;
    }
    delete m_list.takeItem(row);
    // Nothing stays selected, so a second 削除 cannot take a name the user did not choose.
    m_list.clearSelection();
    m_entry.clear();
}

void CSyainEditDlg::accept() {
    if (!m_entry.text().isEmpty()) {
        m_env.messages.Notice(kUnfinishedEntry);
        return;
    }
    const std::string name = m_typeName.text().toStdString();
    if (const auto refusal = RefuseTypeName(name)) {
        m_env.messages.Notice(*refusal);
        m_typeName.setFocus();
        return;
    }
    // Changed on a copy, so a store that could not be written is not taken back by the caller.
    CFMBSyameiData updated = m_typeData;
    updated.SetTypeName(m_typeIndex, name);
    updated.SetCompanyNames(m_typeIndex, ListedNames());
    if (const SaveResult result = updated.WriteIni(); result != SaveResult::Saved) {
        m_env.messages.Notice(SaveFailureMessage(updated, result));
        return;
    }
    m_typeData = updated;
    m_env.messages.Notice(kSaved);
    if (name != m_nameAtOpening) {
        m_env.messages.Notice(kRenamed);
        m_nameAtOpening = name;
    }
    TemplateDialog::accept();
}

void CSyainEditDlg::reject() {
    if (m_env.messages.Question(kCloseWithoutSaving))
        TemplateDialog::reject();
}

} // namespace fmb
