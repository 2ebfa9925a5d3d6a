#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "settings/CFMBSyameiData.h"

#include <string>
#include <vector>

class QLineEdit;

namespace fmb {

class ListBox;

// "社名変更": edits the company names of one document type and may rename the type.
//
// The caller hands in its store and the slot to edit, runs the dialog, and whatever the result
// takes the store back:
//
//   CSyainEditDlg editor(m_env, m_typeData, slot, this);
//   m_env.modal.RunModal(editor);
//   m_typeData = editor.TypeData();
//
// The list is the working state; the store changes only when 終了(保存) has written the whole of it
// to FMB_Corp.ini, so it comes back unchanged after a close without saving.
class CSyainEditDlg final : public TemplateDialog {
    Q_OBJECT

public:
    // typeIndex: the slot of the type to edit; -1 leaves every control empty.
    CSyainEditDlg(const Environment& env, const CFMBSyameiData& typeData, int typeIndex,
                  QWidget* parent = nullptr);

    // 終了(保存): takes the list and the type name into the store and writes it.
    void accept() override;
    // The close box: closes without saving once the user agrees.
    void reject() override;

    // The store as last saved by 終了(保存), or as handed in.
    const CFMBSyameiData& TypeData() const { return m_typeData; }

private:
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
    CFMBSyameiData m_typeData;
    const int m_typeIndex;
    QLineEdit& m_typeName;
    ListBox& m_list;
    QLineEdit& m_entry;
    std::string m_nameAtOpening;
};

} // namespace fmb
