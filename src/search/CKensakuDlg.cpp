#include "search/CKensakuDlg.h"

#include "ledger/CCorrectDlg.h"
#include "platform/DesktopOpen.h"
#include "platform/PathText.h"
#include "search/HitTable.h"
#include "settings/CFMBSyameiData.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <filesystem>
#include <utility>

namespace fmb {

// The hits shown in the table, sorted by the column the user clicked (date at first).
class HitTableModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_hits.RowCount());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(kHitColumnTitles.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole) {
            return {};
        }
        const SearchHit& hit = m_hits.Row(static_cast<std::size_t>(index.row()));
        return QString::fromStdString(HitCellText(hit, static_cast<HitColumn>(index.column())));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return QAbstractTableModel::headerData(section, orientation, role);
        }
        return QString::fromUtf8(
            kHitColumnTitles[static_cast<std::size_t>(section)].data(),
            static_cast<qsizetype>(kHitColumnTitles[static_cast<std::size_t>(section)].size()));
    }
    void sort(int column, Qt::SortOrder order) override {
        emit layoutAboutToBeChanged();
        m_hits.SortBy(static_cast<HitColumn>(column), order == Qt::AscendingOrder);
        emit layoutChanged();
    }

    void Clear() {
        beginResetModel();
        m_hits.Clear();
        endResetModel();
    }
    // Adds hits and keeps the table in its order.
    void Add(std::vector<SearchHit>&& hits) {
        if (hits.empty()) {
            return;
        }
        emit layoutAboutToBeChanged();
        m_hits.Add(std::move(hits));
        emit layoutChanged();
    }
    const HitTable& Hits() const { return m_hits; }

private:
    HitTable m_hits;
};

namespace {

constexpr const char* kAllTypes = "すべて";
// The rows whose texts set the columns' widths.
constexpr int kRowsMeasured = 200;
constexpr const char* kNoRootMessage =
    "保存先フォルダが設定されていません。\nメニューの「設定」で保存先フォルダを指定してください。";
constexpr const char* kNothingChosenMessage = "一覧から書類を選んでください。";
constexpr const char* kNoHitsMessage = "出力する書類がありません。";

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string S(const QString& text) {
    return text.toStdString();
}

QLineEdit* NewField(const char* objectName, const char* placeholder, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setPlaceholderText(Q(placeholder));
    return field;
}

} // namespace

CKensakuDlg::CKensakuDlg(const Environment& env, QWidget* parent)
    : QDialog(parent), m_env(env), m_settings(env.settingsFolder),
      m_runner(std::make_unique<SearchRunner>([this](SearchBatch&& batch) {
          // From the search's thread to the window's: a batch of a search that was replaced in
          // the meantime is dropped there.
          QMetaObject::invokeMethod(
              this, [this, batch = std::move(batch)]() mutable { OnBatch(std::move(batch)); },
              Qt::QueuedConnection);
      })) {
    m_settings.ReadIni();
    BuildWidgets();
    Search();
}

CKensakuDlg::~CKensakuDlg() {
    m_runner->Stop();
}

void CKensakuDlg::BuildWidgets() {
    setWindowTitle(Q("検索"));
    setObjectName("searchDialog");
    resize(900, 560);

    m_from = NewField("fromField", "20230401", this);
    m_to = NewField("toField", "20240331", this);
    m_min = NewField("minField", "1,000", this);
    m_max = NewField("maxField", "500,000", this);
    m_company = NewField("companyField", "取引先名の一部", this);
    m_text = NewField("textField", "備考の一部", this);
    m_type = new QComboBox(this);
    m_type->setObjectName("typeField");
    m_type->addItem(Q(kAllTypes));
    CFMBSyameiData types(m_env.settingsFolder);
    types.ReadIni();
    for (int slot = 0; slot < types.TypeCount(); ++slot) {
        const std::string name = types.TypeName(slot);
        if (!name.empty() && m_type->findText(Q(name)) < 0) {
            m_type->addItem(Q(name));
        }
    }
    m_includeKept = new QCheckBox(Q("台帳に残した以前の版も検索する"), this);
    m_includeKept->setObjectName("includeKeptBox");

    auto* fields = new QGridLayout;
    const auto range = [this](QLineEdit* from, QLineEdit* to) {
        auto* row = new QHBoxLayout;
        row->addWidget(from);
        row->addWidget(new QLabel(Q("～"), this));
        row->addWidget(to);
        return row;
    };
    fields->addWidget(new QLabel(Q("日付"), this), 0, 0);
    fields->addLayout(range(m_from, m_to), 0, 1);
    fields->addWidget(new QLabel(Q("金額"), this), 0, 2);
    fields->addLayout(range(m_min, m_max), 0, 3);
    fields->addWidget(new QLabel(Q("取引先"), this), 1, 0);
    fields->addWidget(m_company, 1, 1);
    fields->addWidget(new QLabel(Q("種類"), this), 1, 2);
    fields->addWidget(m_type, 1, 3);
    fields->addWidget(new QLabel(Q("備考"), this), 2, 0);
    fields->addWidget(m_text, 2, 1);
    fields->addWidget(m_includeKept, 2, 3);

    m_message = new QLabel(this);
    m_message->setObjectName("fieldMessage");
    m_message->setStyleSheet("color: #b00020;");
    m_message->setWordWrap(true);
    m_count = new QLabel(this);
    m_count->setObjectName("hitCount");

    m_model = new HitTableModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName("hitTable");
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(static_cast<int>(HitColumn::Date), Qt::AscendingOrder);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    m_table->setWordWrap(false);

    auto* correct = new QPushButton(Q("訂正・削除"), this);
    correct->setObjectName("correctButton");
    auto* openFolder = new QPushButton(Q("フォルダを開く"), this);
    openFolder->setObjectName("openFolderButton");
    auto* writeBook = new QPushButton(Q("索引簿(CSV)に出力"), this);
    writeBook->setObjectName("writeBookButton");
    auto* close = new QPushButton(Q("閉じる"), this);
    close->setObjectName("closeButton");
    for (QPushButton* button : {correct, openFolder, writeBook, close}) {
        button->setAutoDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(correct);
    buttons->addWidget(openFolder);
    buttons->addWidget(writeBook);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_message);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    for (QLineEdit* field : {m_from, m_to, m_min, m_max, m_company, m_text}) {
        connect(field, &QLineEdit::textChanged, this, &CKensakuDlg::Search);
        connect(field, &QLineEdit::returnPressed, this, &CKensakuDlg::Search);
    }
    connect(m_type, &QComboBox::currentIndexChanged, this, &CKensakuDlg::Search);
    connect(m_includeKept, &QCheckBox::toggled, this, &CKensakuDlg::Search);
    connect(m_table, &QTableView::doubleClicked, this, &CKensakuDlg::OnOpenDocument);
    connect(correct, &QPushButton::clicked, this, &CKensakuDlg::OnCorrect);
    connect(openFolder, &QPushButton::clicked, this, &CKensakuDlg::OnOpenFolder);
    connect(writeBook, &QPushButton::clicked, this, &CKensakuDlg::OnWriteBook);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CKensakuDlg::Search() {
    m_runner->Stop();
    m_running = false;
    m_model->Clear();
    m_report = {};
    for (QLineEdit* field : {m_from, m_to, m_min, m_max, m_company, m_text}) {
        field->setStyleSheet({});
    }
    m_message->clear();
    SearchFields fields;
    fields.from = S(m_from->text());
    fields.to = S(m_to->text());
    fields.min = S(m_min->text());
    fields.max = S(m_max->text());
    fields.company = S(m_company->text());
    fields.type = m_type->currentIndex() <= 0 ? std::string() : S(m_type->currentText());
    fields.text = S(m_text->text());
    const CheckedSearch checked = CheckSearch(fields);
    if (checked.refusal) {
        QLineEdit* const byField[] = {m_from, m_to, m_min, m_max, m_company, nullptr, m_text};
        if (QLineEdit* field = byField[static_cast<int>(checked.refusal->field)]) {
            field->setStyleSheet("border: 1px solid #b00020;");
        }
        m_message->setText(Q(checked.refusal->message));
        m_count->setText(Q("検索できません"));
        return;
    }
    const std::string& root = m_settings.COPY_SAKI_DIR;
    if (root.empty()) {
        m_message->setText(Q(kNoRootMessage));
        m_count->clear();
        return;
    }
    SearchOptions options;
    options.preferredForm =
        m_settings.KUGIRI_BER_FLG == 0 ? NameForm::Bracketed : NameForm::Underscore;
    options.kept = m_includeKept->isChecked() ? KeptVersions::Included : KeptVersions::LeftOut;
    m_running = true;
    m_search = m_runner->Start(root, *checked.query, options);
    ShowCount();
}

void CKensakuDlg::OnBatch(SearchBatch&& batch) {
    if (batch.search != m_search || !m_running) {
        return;
    }
    m_model->Add(std::move(batch.hits));
    if (batch.finished) {
        m_running = false;
        m_report = batch.report;
        // Once, so that the columns do not jump about as the user types, and measured on the
        // first rows only, so that a table of many hits costs no time here.
        if (!m_columnsSized && m_model->rowCount() > 0) {
            m_columnsSized = true;
            m_table->resizeColumnsToContents();
        }
    }
    ShowCount();
}

void CKensakuDlg::ShowCount() {
    QString text = QString::number(m_model->rowCount()) + Q(" 件");
    if (m_running) {
        text += Q("（検索中…）");
    } else if (m_report.scan.unreadableFolders != 0) {
        text += Q("（読み取れなかったフォルダ " + std::to_string(m_report.scan.unreadableFolders) +
                  " 個: " + m_report.scan.firstUnreadable + "）");
    }
    m_count->setText(text);
}

bool CKensakuDlg::FieldsEmpty() const {
    for (const QLineEdit* field : {m_from, m_to, m_min, m_max, m_company, m_text}) {
        if (!field->text().isEmpty()) {
            return false;
        }
    }
    return m_type->currentIndex() <= 0 && !m_includeKept->isChecked();
}

void CKensakuDlg::ClearFields() {
    // One search for the emptied fields, not one for each.
    for (QWidget* field : std::initializer_list<QWidget*>{m_from, m_to, m_min, m_max, m_company,
                                                          m_text, m_type, m_includeKept}) {
        field->blockSignals(true);
    }
    for (QLineEdit* field : {m_from, m_to, m_min, m_max, m_company, m_text}) {
        field->clear();
    }
    m_type->setCurrentIndex(0);
    m_includeKept->setChecked(false);
    for (QWidget* field : std::initializer_list<QWidget*>{m_from, m_to, m_min, m_max, m_company,
                                                          m_text, m_type, m_includeKept}) {
        field->blockSignals(false);
    }
    Search();
}

void CKensakuDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !FieldsEmpty()) {
        ClearFields();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

const SearchHit* CKensakuDlg::CurrentHit() const {
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        return nullptr;
    }
    return &m_model->Hits().Row(static_cast<std::size_t>(current.row()));
}

void CKensakuDlg::OnOpenDocument() {
    if (const SearchHit* hit = CurrentHit()) {
        OpenPathOrTell(m_env, hit->path);
    }
}

void CKensakuDlg::OnOpenFolder() {
    const SearchHit* hit = CurrentHit();
    if (hit == nullptr) {
        m_env.messages.Notice(kNothingChosenMessage);
        return;
    }
    OpenPathOrTell(m_env, FromFsPath(ToFsPath(hit->path).parent_path()));
}

void CKensakuDlg::OnCorrect() {
    const SearchHit* hit = CurrentHit();
    if (hit == nullptr) {
        m_env.messages.Notice(kNothingChosenMessage);
        return;
    }
    CCorrectDlg dialog(m_env, this, hit->path);
    m_env.modal.RunModal(dialog);
    // A corrected or deleted document has left its place: the hits are read again.
    Search();
}

void CKensakuDlg::OnWriteBook() {
    if (m_model->Hits().RowCount() == 0) {
        m_env.messages.Notice(kNoHitsMessage);
        return;
    }
    const std::optional<std::string> folder = m_env.pickers.PickFolder(m_settings.COPY_SAKI_DIR);
    if (!folder) {
        return;
    }
    const std::string path = WithTrailingSeparator(*folder) + DefaultHitBookName(m_env.clock);
    std::error_code error;
    if (std::filesystem::exists(ToFsPath(path), error) &&
        !m_env.messages.Question("同じ名前のファイルがあります。置き換えますか？\n\n" + path)) {
        return;
    }
    const ExportResult result =
        WriteHitBook(path, m_model->Hits().Rows(), m_settings.COPY_SAKI_DIR);
    m_env.messages.Notice(result.ok ? result.message + "\n\n" + path : result.message);
    if (result.ok && !result.warning.empty()) {
        m_env.messages.Notice(result.warning);
    }
}

} // namespace fmb
