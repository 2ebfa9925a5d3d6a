#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace fmb {

class ListBox;

// "設定": the storage root, the month in which the fiscal year ends, the six flags and the
// 処理担当者 of FMB_Setting.ini, with a live example of the folders and the file name they give.
// Opening it gives a store without types the 36 default types (written at once); 終了(保存) writes
// both files, キャンセル and the close box write nothing.
//
//   CSettingDlg dlg(m_env, this);
//   m_env.modal.RunModal(dlg);
//   // then read FMB_Setting.ini and FMB_Corp.ini again
class CSettingDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CSettingDlg(const Environment& env, QWidget* parent = nullptr);
    ~CSettingDlg() override;

    // 終了(保存): checks the controls and writes both files; stays open on any failure.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    // Shows the example of the choices in the controls.
    void UpdateExample();
    void OnBrowse();
    void OnEditTypes();
    // The first-start rule, then the type names into the hidden list, in slot order.
    void FillTypeList();
    void ControlsInto(CFMBData& settings) const;

    Environment m_env;
    CFMBData m_data;
    CFMBSyameiData m_typeData;
    QLineEdit& m_root;
    QLineEdit& m_month;
    ListBox& m_types;
    QTreeWidget& m_tree;
    QLabel& m_example;
    QLineEdit& m_person; // 処理担当者
};

} // namespace fmb
