#include "platform/ListBox.h"

#include <QLocale>

namespace fmb {

JapaneseOrder::JapaneseOrder() : m_collator(QLocale(QLocale::Japanese, QLocale::Japan)) {
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

bool JapaneseOrder::operator()(const QString& a, const QString& b) const {
    const int order = m_collator.compare(a, b);
    if (order != 0)
        return order < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

ListBox::ListBox(bool sorted, QWidget* parent) : QListWidget(parent), m_sorted(sorted) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
}

int ListBox::AddString(const QString& text) {
    if (!m_sorted) {
        addItem(text);
        return count() - 1;
    }
    // Binary search for the first row that sorts after text.
    int low = 0;
    int high = count();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (m_order(text, item(mid)->text()))
            high = mid;
        else
            low = mid + 1;
    }
    insertItem(low, text);
    return low;
}

QStringList ListBox::Texts() const {
    QStringList texts;
    texts.reserve(count());
    for (int row = 0; row < count(); ++row)
        texts.append(item(row)->text());
    return texts;
}

} // namespace fmb
