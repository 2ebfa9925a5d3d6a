// The Qt ports: the message boxes' title, text and buttons, and what the shell is asked to open.
#include "platform/QtPorts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

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

// Receives what the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST(QtShell, LocalPathsBecomeAbsoluteFileUrlsAndWebAddressesStayAsGiven) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");

    QtShell shell;
    shell.OpenPath("/data/書類/2024年度/[2024_01_05][〇〇商事(株)][500,000].pdf");
    shell.OpenPath("relative/a b.pdf");
    shell.OpenUrl("https://example.com/fumibako/fmbinfo.html");

    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.urls.size(), 3);
    EXPECT_EQ(catcher.urls[0].toLocalFile(),
              QString::fromUtf8("/data/書類/2024年度/[2024_01_05][〇〇商事(株)][500,000].pdf"));
    EXPECT_EQ(catcher.urls[1].toLocalFile(), QDir::current().absoluteFilePath("relative/a b.pdf"));
    EXPECT_EQ(catcher.urls[2], QUrl(QStringLiteral("https://example.com/fumibako/fmbinfo.html")));
}

} // namespace
} // namespace fmb

#include "QtPortsTest.moc"
