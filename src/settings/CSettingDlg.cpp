#include "settings/CSettingDlg.h"

#include "platform/DecimalText.h"
#include "platform/KeyFilter.h"
#include "platform/ListBox.h"
#include "res/ControlIds.h"
#include "settings/CSyainEditDlg.h"
#include "settings/SaveMessages.h"
#include "settings/SettingRules.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace fmb {

using namespace ids::setting;

namespace {

// The check boxes and the flags they stand for.
struct FlagBox {
    int id;
    int CFMBData::*flag;
};
constexpr FlagBox kFlagBoxes[] = {
    {kAmountCommasBox, &CFMBData::KINGAKU_KANMA_FLG},
    {kDateUnderscoresBox, &CFMBData::HIDUKE_UB_FLG},
    {kMonthFoldersBox, &CFMBData::DIR_MM_SEPA_FLG},
    {kCompanyFoldersBox, &CFMBData::DIR_COMPANY_SEPA_FLG},
    {kTypeInRemarkBox, &CFMBData::BIKOU_SYUBETSU_FLG},
    {kUnderscoreFormBox, &CFMBData::KUGIRI_BER_FLG},
};

const char* const kSelectType = "リストより「種類」を選択ください。";
const char* const kEndMonthReplaced =
    "設定ファイルの「年度末(月)」が1～12の範囲にないため、3として読み込みました。\n"
    "確認して「終了(保存)」を押してください。";

} // namespace

CSettingDlg::CSettingDlg(const Environment& env, QWidget* parent)
    : TemplateDialog(DialogId::Setting, parent), m_env(env), m_data(env.settingsFolder),
      m_typeData(env.settingsFolder), m_root(*Control<QLineEdit>(kRootField)),
      m_month(*Control<QLineEdit>(kEndMonthField)), m_types(*Control<ListBox>(kTypeList)),
      m_tree(*Control<QTreeWidget>(kExampleTree)), m_example(*Control<QLabel>(kExampleName)),
      m_person(*Control<QLineEdit>(kPersonField)) {
    connect(Control<QPushButton>(kBrowseButton), &QPushButton::clicked, this,
            [this] { OnBrowse(); });
    connect(Control<QPushButton>(kEditTypeButton), &QPushButton::clicked, this,
            [this] { OnEditTypes(); });
    for (const FlagBox& box : kFlagBoxes) {
        connect(Control<QAbstractButton>(box.id), &QAbstractButton::clicked, this,
                [this] { UpdateExample(); });
    }
    // The tree follows a typed root only once the user leaves the field.
    m_root.installEventFilter(this);
    InstallCommonKeyFilter(*this);
    OnInitDialog();
}

CSettingDlg::~CSettingDlg() {
    // The field loses its focus while the dialog goes away; the example has no one to show it.
    m_root.removeEventFilter(this);
}

void CSettingDlg::OnInitDialog() {
    // An absent file gives the first-start values.
    m_data.ReadIni();
    if (m_data.EndMonthWasReplaced())
        m_env.messages.Notice(kEndMonthReplaced);
    m_root.setText(QString::fromStdString(m_data.COPY_SAKI_DIR));
    m_month.setText(QString::number(m_data.NEND_END_M));
    m_person.setText(QString::fromStdString(m_data.SYORI_TANTOUSYA));
    for (const FlagBox& box : kFlagBoxes)
        Control<QAbstractButton>(box.id)->setChecked(m_data.*box.flag == 1);
    UpdateExample();

    m_typeData.ReadIni();
    FillTypeList();
}

void CSettingDlg::ControlsInto(CFMBData& settings) const {
    settings.COPY_SAKI_DIR = m_root.text().toStdString();
    settings.NEND_END_M = ReadLeadingInt(m_month.text().toStdString());
    settings.SYORI_TANTOUSYA = m_person.text().trimmed().toStdString();
    for (const FlagBox& box : kFlagBoxes)
        settings.*box.flag = Control<QAbstractButton>(box.id)->isChecked() ? 1 : 0;
}

void CSettingDlg::UpdateExample() {
    CFMBData choices(m_env.settingsFolder);
    ControlsInto(choices);
    const SettingExample example = MakeSettingExample(choices, m_env.clock.Today().year);
    m_example.setText(QString::fromStdString(example.fileName));
    m_tree.clear();
    QTreeWidgetItem* parent = nullptr;
    for (const std::string& folder : example.folders) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&m_tree);
        item->setText(0, QString::fromStdString(folder));
        parent = item;
    }
    m_tree.expandAll();
}

bool CSettingDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_root && event->type() == QEvent::FocusOut)
        UpdateExample();
    return TemplateDialog::eventFilter(watched, event);
}

void CSettingDlg::OnBrowse() {
    if (const auto folder = m_env.pickers.PickFolder("")) {
        m_root.setText(QString::fromStdString(*folder));
        UpdateExample();
    }
}

void CSettingDlg::FillTypeList() {
    if (const SaveResult result = CompleteTypes(m_typeData); result != SaveResult::Saved)
        m_env.messages.Notice(SaveFailureMessage(m_typeData, result));
    std::vector<std::string> names;
    m_typeData.GetTypeNames(names);
    m_types.clear();
    for (const std::string& name : names)
        m_types.AddString(name);
}

void CSettingDlg::OnEditTypes() {
    const QList<QListWidgetItem*> selected = m_types.selectedItems();
    if (selected.isEmpty()) {
        m_env.messages.Notice(kSelectType);
        return;
    }
    // The list is in slot order, so its row is the slot.
    CSyainEditDlg editor(m_env, m_typeData, m_types.row(selected.first()), this);
    m_env.modal.RunModal(editor);
    m_typeData = editor.TypeData();
    FillTypeList();
}

void CSettingDlg::accept() {
    ControlsInto(m_data);
    if (const auto refusal = ValidateSettings(m_data)) {
        m_env.messages.Notice(refusal->message);
        if (refusal->focus == SettingField::Root)
            m_root.setFocus();
        else if (refusal->focus == SettingField::Month)
            m_month.setFocus();
        return;
    }
    if (const SaveResult result = m_data.WriteIni(); result != SaveResult::Saved) {
        m_env.messages.Notice(SaveFailureMessage(m_data, result));
        if (result == SaveResult::UnrepresentableText)
            (FirstUnsavableChar(m_data.COPY_SAKI_DIR).empty() ? m_person : m_root).setFocus();
        return;
    }
    if (const SaveResult result = m_typeData.WriteIni(); result != SaveResult::Saved) {
        m_env.messages.Notice(SaveFailureMessage(m_typeData, result));
        return;
    }
    TemplateDialog::accept();
}

} // namespace fmb
