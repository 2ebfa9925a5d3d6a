#pragma once

#include "platform/Environment.h"
#include "platform/TemplateDialog.h"
#include "preview/CPreviewWnd.h"
#include "settings/CFMBData.h"
#include "settings/CFMBSyameiData.h"

#include <array>
#include <string>

class QDate;

namespace fmb {

struct FilingEntry;
struct KeypadButton;

// The filing window: the program's main window. The user drops or chooses a source file, picks a
// document type, a date, a company and an amount, adds a remark, and files the document with
// 実行（コピーして保存）. Every change of an input of the entry, in whatever order, composes the
// destination folder and file name again and shows them; 実行 files under what the two fields
// show, so a file name the user typed by hand after the last input change is kept.
//
// The window loads FMB_Setting.ini and FMB_Corp.ini from the settings folder when it is built; on
// a first start (no storage root) it asks for the settings before it opens. It stays on top of
// other windows, and Enter and Esc never close it: only 終了 and the close box do, at once.
//
// Beside it, the preview (CPreviewWnd) shows the source document and what its text proposes for
// the date, company and amount; a click on a proposal fills the field and composes again. Ctrl+P
// shows the preview again after it was closed.
class CFumibakoDlg final : public TemplateDialog {
    Q_OBJECT

public:
    explicit CFumibakoDlg(const Environment& env, QWidget* parent = nullptr);

    // Composes the destination folder and file name from the entry and the settings and shows
    // them; remembers the folder when it holds a fiscal year.
    void ComposeDestination();

    CPreviewWnd& Preview() const { return *m_preview; }

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnInitDialog();
    void SetUpCalendar();
    FilingEntry Entry() const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);

    // Source file.
    void OnBrowse();
    void OnOpenSource();

    // Document types: twelve buttons over three pages.
    void RefreshTypeButtons(bool clearSelection);
    void OnTypeButton(int button);
    void ShowType(int typeIndex);
    void OnPageBack();
    void OnPageForward();
    void ShowTypePage(int page);

    // Date.
    void OnDateChanged();
    void OnCalendarPick(const QDate& day);
    void OnDateButton(const std::string& dateText);

    // Company and amount.
    void OnCompanyPicked();
    void OnEditCompanies();
    void OnKeypad(const KeypadButton& button);
    void OnAmountChanged();
    void OnMultipleAmounts();
    // 複数 reads *複数 while the entry holds extra amounts.
    void ShowMultipleAmountsCaption();

    void OnExecute();
    // Remembers the company the document was filed under for its registration numbers.
    void RememberRegistration(const std::string& company);

    // Proposals.
    void OnProposal(ProposalField field, const QString& value);
    void ShowPreview();

    // メニュー: runs the menu, then reads the settings again and composes.
    void OnMenu();
    void OnSearch();
    // 保存先フォルダ確認: opens the latest composed folder, or the storage root.
    void OnOpenStorageFolder();

    Environment m_env;
    CFMBData m_settings;
    int m_typePage = 1;     // 1-3: the page of twelve types the buttons show
    int m_selectedType = 0; // the chosen type (0-35), or -1 for none
    CFMBSyameiData m_typeData;
    std::string m_lastDestFolder;              // the latest composed folder with a fiscal year
    std::array<std::string, 5> m_extraAmounts; // amounts 2 to 6 of a multiple-amount entry
    std::string m_extraAmountsPlain;           // [amount] for each of them
    std::string m_extraAmountsComma;           // the same with thousands separators
    CPreviewWnd* m_preview;                    // a window of its own, owned by this one
    bool m_previewPlaced = false;              // shown beside this window once
};

} // namespace fmb
