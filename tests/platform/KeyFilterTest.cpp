// The common key filter: Enter, Return and Escape reach the focused control but never close the
// dialog nor press a button.
#include "platform/KeyFilter.h"
#include "support/DialogTest.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace fmb {
namespace {

// Records the keys pressed on the widget it watches.
class KeyRecorder : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            keys.push_back(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
    std::vector<int> keys;
};

// A dialog with a line edit, a multi-line edit, a default OK button and another button.
struct TestDialog {
    explicit TestDialog(bool filtered) {
        edit = new QLineEdit(&dialog);
        text = new QPlainTextEdit(&dialog);
        ok = new QPushButton(QStringLiteral("OK"), &dialog);
        other = new QPushButton(QStringLiteral("Other"), &dialog);
        text->move(0, 30);
        ok->move(0, 120);
        other->move(100, 120);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        if (filtered)
            InstallCommonKeyFilter(dialog);
        edit->installEventFilter(&recorder);
        EXPECT_TRUE(test::ShowActive(dialog));
    }

    QDialog dialog;
    QLineEdit* edit;
    QPlainTextEdit* text;
    QPushButton* ok;
    QPushButton* other;
    KeyRecorder recorder;
};

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

const KeyCase kKeys[] = {
    {"Return", Qt::Key_Return, Qt::NoModifier},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
    {"Escape", Qt::Key_Escape, Qt::NoModifier},
};

TEST(CommonKeyFilter, KeysReachTheFocusedEditAndNeverCloseTheDialog) {
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.name);
        TestDialog t(true);
        QSignalSpy finished(&t.dialog, &QDialog::finished);
        QSignalSpy clicked(t.ok, &QPushButton::clicked);
        QSignalSpy returnPressed(t.edit, &QLineEdit::returnPressed);
        t.edit->setFocus();
        t.edit->setText(QStringLiteral("abc"));

        QTest::keyClick(t.edit, c.key, c.modifiers);

        EXPECT_TRUE(t.dialog.isVisible());
        EXPECT_EQ(finished.count(), 0);
        EXPECT_EQ(clicked.count(), 0);
        EXPECT_EQ(t.recorder.keys, std::vector<int>{c.key}) << "the edit saw the key";
        EXPECT_EQ(returnPressed.count(), c.key == Qt::Key_Escape ? 0 : 1);
        EXPECT_EQ(t.edit->text(), QStringLiteral("abc"));
    }
}

// The same keys close an unfiltered dialog: Return and Enter through the default button,
// Escape through reject(). This is what the filter prevents.
TEST(CommonKeyFilter, WithoutTheFilterTheSameKeysCloseTheDialog) {
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.name);
        TestDialog t(false);
        t.edit->setFocus();
        QTest::keyClick(t.edit, c.key, c.modifiers);
        EXPECT_FALSE(t.dialog.isVisible());
        EXPECT_EQ(t.dialog.result(),
                  c.key == Qt::Key_Escape ? QDialog::Rejected : QDialog::Accepted);
    }
}

TEST(CommonKeyFilter, EnterIsAnOrdinaryKeyInAMultiLineEdit) {
    TestDialog t(true);
    t.text->setFocus();
    QTest::keyClicks(t.text, QStringLiteral("a"));
    QTest::keyClick(t.text, Qt::Key_Return);
    QTest::keyClicks(t.text, QStringLiteral("b"));
    EXPECT_EQ(t.text->toPlainText(), QStringLiteral("a\nb"));
    EXPECT_TRUE(t.dialog.isVisible());
}

// A focused push button is not pressed by Enter (it would be, were it auto-default), nor is the
// dialog's default button; Space still presses it, and Tab still moves on.
TEST(CommonKeyFilter, ButtonsArePlainAndOtherKeysWorkAsUsual) {
    TestDialog t(true);
    EXPECT_FALSE(t.ok->isDefault());
    EXPECT_FALSE(t.ok->autoDefault());
    EXPECT_FALSE(t.other->autoDefault());
    QSignalSpy otherClicked(t.other, &QPushButton::clicked);
    QSignalSpy okClicked(t.ok, &QPushButton::clicked);

    t.other->setFocus();
    QTest::keyClick(t.other, Qt::Key_Return);
    QTest::keyClick(t.other, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(otherClicked.count(), 0);
    EXPECT_EQ(okClicked.count(), 0);

    QTest::keyClick(t.other, Qt::Key_Space);
    EXPECT_EQ(otherClicked.count(), 1);

    t.edit->setFocus();
    QTest::keyClick(t.edit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), t.text);
    EXPECT_TRUE(t.dialog.isVisible());
}

TEST(CommonKeyFilter, WithoutTheFilterAFocusedButtonIsPressedByEnter) {
    TestDialog t(false);
    QSignalSpy otherClicked(t.other, &QPushButton::clicked);
    t.other->setFocus();
    QTest::keyClick(t.other, Qt::Key_Return);
    EXPECT_EQ(otherClicked.count(), 1);
}

} // namespace
} // namespace fmb
