#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBSyameiData.h"

#include <string>
#include <vector>

class QLineEdit;
class QShowEvent;

namespace fmb {

class ListBox;

// "社名変更": edits the company names of one document type and may rename the type.
//
// The caller hands in a copy of its store and the slot to edit, runs the dialog, and whatever the
// result takes the copy back:
//
//   CSyainEditDlg editor(m_env, this);
//   editor.m_typeData = m_typeData;
//   editor.m_typeIndex = slot;
//   m_env.modal.RunModal(editor);
//   m_typeData = editor.m_typeData;
//
// The list is the working state; m_typeData changes only when 終了(保存) has written the whole
// store to FMB_Corp.ini, so the copy comes back unchanged after a close without saving.
class CSyainEditDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CSyainEditDlg(const Environment& env, QWidget* parent = nullptr);

    // 終了(保存): takes the list and the type name into m_typeData and writes the store.
    void accept() override;
    // The close box: closes without saving once the user agrees.
    void reject() override;

    CFMBSyameiData m_typeData;
    int m_typeIndex = -1; // slot of the type being edited; -1 leaves every control empty

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Fills the controls from m_typeData when the dialog first shows, after the caller has set it.
    void OnInitDialog();
    // Shows why the name in the entry field was refused and gives that field the focus.
    void RefuseEntry(const std::string& message);
    void OnAdd();
    void OnReplace();
    void OnDelete();
    void OnSelectionChanged();
    int SelectedRow() const;
    std::vector<std::string> ListedNames() const;

    Environment m_env;
    QLineEdit& m_typeName;
    ListBox& m_list;
    QLineEdit& m_entry;
    std::string m_nameAtOpening;
    bool m_initialised = false;
};

} // namespace fmb
