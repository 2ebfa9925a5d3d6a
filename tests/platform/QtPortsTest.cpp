// The Qt ports: the message boxes' title, text and buttons, and what the shell is asked to open.
#include "platform/QtPorts.h"

#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fmb {
namespace {

struct BoxSeen {
    QString title;
    QString text;
    QStringList buttons;
};

// Waits for the message box the port opens, notes what it shows, then presses the button with
// this caption (or Escape when the caption is empty).
void AnswerNextBox(BoxSeen& seen, const QString& press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextBox(seen, press); // not open yet
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        if (press.isEmpty()) {
            box->reject();
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press)
                button->click();
        }
    });
}

TEST(QtMessages, NoticeShowsTheTextUnderTheProgramsTitleWithOK) {
    QtMessages messages;
    BoxSeen seen;
    AnswerNextBox(seen, QStringLiteral("OK"));
    messages.Notice("入力可能桁数は、14桁までです。\n\n<最大>");
    EXPECT_EQ(seen.title, QString::fromUtf8("ふみばこ"));
    EXPECT_EQ(seen.text, QString::fromUtf8("入力可能桁数は、14桁までです。\n\n<最大>"));
    EXPECT_EQ(seen.buttons, QStringList{QStringLiteral("OK")});
}

TEST(QtMessages, QuestionIsTrueOnlyForOK) {
    QtMessages messages;
    struct Case {
        QString press;
        bool expected;
    };
    for (const Case& c : {Case{QStringLiteral("OK"), true},
                          Case{QString::fromUtf8("キャンセル"), false}, Case{QString(), false}}) {
        BoxSeen seen;
        AnswerNextBox(seen, c.press);
        EXPECT_EQ(messages.Question("よろしいですか？"), c.expected) << c.press.toStdString();
        EXPECT_EQ(seen.buttons.size(), 2);
        EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("キャンセル")));
    }
}

// A question about a step the user should rather not take answers no to Enter alone.
TEST(QtMessages, ACautiousQuestionHasCancelAsItsDefault) {
    QtMessages messages;
    QString defaultButton;
    QTimer::singleShot(0, [&defaultButton] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        defaultButton = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(messages.CautiousQuestion("二重に保存しますか？"));
    EXPECT_EQ(defaultButton, QString::fromUtf8("キャンセル"));
}

// Receives what the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST(QtShell, LocalPathsBecomeAbsoluteFileUrlsAndWebAddressesStayAsGiven) {
    test::TempDir dir;
    const std::string stored = dir.Child("[2024_01_05][〇〇商事(株)][500,000].pdf");
    test::WriteBytes(test::U8(stored), "%PDF");
    std::filesystem::create_directory(dir.Path() / "relative");
    test::WriteBytes(dir.Path() / "relative" / "a b.pdf", "%PDF");
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.Text()));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    QtShell shell;
    EXPECT_TRUE(shell.OpenPath(stored));
    EXPECT_TRUE(shell.OpenPath("relative/a b.pdf"));
    EXPECT_TRUE(shell.OpenPath(dir.Text())); // a folder
    EXPECT_TRUE(shell.OpenUrl("https://example.com/fumibako/fmbinfo.html"));
    // What is not there is refused without asking the desktop.
    EXPECT_FALSE(shell.OpenPath(dir.Child("gone.pdf")));
    EXPECT_FALSE(shell.OpenPath(""));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDir::setCurrent(before);

    ASSERT_EQ(catcher.urls.size(), 4);
    EXPECT_EQ(catcher.urls[0].toLocalFile(), QString::fromStdString(stored));
    EXPECT_EQ(catcher.urls[1].toLocalFile(), QString::fromStdString(dir.Child("relative/a b.pdf")));
    EXPECT_EQ(catcher.urls[2].toLocalFile(), QString::fromStdString(dir.Text()));
    EXPECT_EQ(catcher.urls[3], QUrl(QStringLiteral("https://example.com/fumibako/fmbinfo.html")));
}

} // namespace
} // namespace fmb

#include "QtPortsTest.moc"
