#pragma once

#include <QCollator>
#include <QListWidget>

#include <string>

namespace fmb {

// Japanese collation with letter case ignored; texts it finds equal (such as "a" and "A", or "あ"
// and "ア") are ordered by their code points, so an order never depends on the order of insertion.
class JapaneseOrder {
public:
    JapaneseOrder();
    // True when a sorts before b.
    bool operator()(const QString& a, const QString& b) const;

private:
    QCollator m_collator;
};

// A list box as the dialog templates describe it: single selection and, when sorted, its items
// kept in JapaneseOrder (QListWidget's own sorting compares code points, so "b" would come before
// "A"). Add items with AddString, which puts them where they belong, as the platform's sorted list
// box does; never turn on QListWidget's sorting.
class ListBox final : public QListWidget {
    Q_OBJECT

public:
    explicit ListBox(bool sorted, QWidget* parent = nullptr);

    bool IsSorted() const { return m_sorted; }

    // Adds text in its sorted position (after an identical text), or at the end of an unsorted
    // list. Returns the row it went to.
    int AddString(const QString& text);
    int AddString(const std::string& text) { return AddString(QString::fromStdString(text)); }
    int AddString(const char* text) { return AddString(QString::fromUtf8(text)); }

    // The items' texts, top to bottom.
    QStringList Texts() const;

private:
    bool m_sorted;
    JapaneseOrder m_order;
};

} // namespace fmb
