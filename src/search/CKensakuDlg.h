#pragma once

#include "platform/Environment.h"
#include "search/SearchRunner.h"
#include "settings/CFMBData.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace fmb {

class HitTableModel;

// 検索: finds stored documents by date, amount, counterparty, type and remark. The results
// follow the fields as they are typed: each change stops the running search and starts a new
// one on a worker thread, whose hits fill the table as they are found. Esc empties the fields
// first, and closes the window when they are empty.
class CKensakuDlg final : public QDialog {
    Q_OBJECT

public:
    CKensakuDlg(const Environment& env, QWidget* parent = nullptr);
    ~CKensakuDlg() override;
    CKensakuDlg(const CKensakuDlg&) = delete;
    CKensakuDlg& operator=(const CKensakuDlg&) = delete;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildWidgets();
    // Checks the fields and starts a search of them, or tells at the field why it cannot.
    void Search();
    void OnBatch(SearchBatch&& batch);
    void ShowCount();
    bool FieldsEmpty() const;
    void ClearFields();
    // The hit of the table's current row, or none.
    const SearchHit* CurrentHit() const;
    void OnOpenDocument();
    void OnOpenFolder();
    // Opens 訂正・削除 on the chosen hit.
    void OnCorrect();
    void OnWriteBook();

    Environment m_env;
    CFMBData m_settings;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QLineEdit* m_min = nullptr;
    QLineEdit* m_max = nullptr;
    QLineEdit* m_company = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_text = nullptr;
    QCheckBox* m_includeKept = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_count = nullptr;
    QTableView* m_table = nullptr;
    HitTableModel* m_model = nullptr;
    std::uint64_t m_search = 0; // the search whose hits the table shows
    bool m_running = false;
    bool m_columnsSized = false; // widths set to the first hits shown, then left to the user
    SearchReport m_report;
    // Last, so that it stops its thread before anything it hands hits to goes.
    std::unique_ptr<SearchRunner> m_runner;
};

} // namespace fmb
