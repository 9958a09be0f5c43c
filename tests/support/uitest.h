// Shared helpers for the window tests (Qt Test, offscreen): finding named
// controls, typing as an input method does, mouse double-clicks, running an
// action that opens a modal window, and README pictures that must show
// every control whole.
//
// Header only: tests/support/*.cpp also go into the core (non-widget) test
// executable, so nothing here may need linking there.
#pragma once

#include <functional>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "tests/support/scripteddialogs.h"

namespace tz::test {

// Readable QCOMPARE output for a recorded message.
inline char *toString(const Message &message)
{
    using namespace Qt::Literals::StringLiterals;
    return QTest::toString(u"[%1] %2 (icon %3)"_s.arg(message.title, message.text).arg(int(message.icon)));
}

// The child of `parent` of type T named `name`; stops the test run if absent.
template<typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// A mouse click on the push button of `window` named `name`.
inline void press(QWidget *window, const QString &name)
{
    QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
}

// Sends `text` to `widget` as an input method commits it (Chinese cannot go
// through key clicks).
inline void commitText(QWidget *widget, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// Clears a field and types text into it as an input method would.
inline void type(QLineEdit *field, const QString &text)
{
    field->clear();
    commitText(field, text);
}

// A double-click as the mouse makes it: press, release, a second press
// that is the double-click, release. Item views act on the second press
// only when the first one hit the same item.
inline void doubleClickAt(QWidget *viewport, QPoint at)
{
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}

// Runs `action`; if it opens a modal window, hands that window to `inspect`
// and closes it. Returns the modal window's class name, or "" if none opened.
// A modal window would have blocked in action(); `settleMs` gives a stray one
// a moment afterwards.
inline QString runModal(const std::function<void()> &action, const std::function<void(QWidget *)> &inspect = {},
                        int settleMs = 50)
{
    QString seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll.stop();
            seen = QString::fromLatin1(modal->metaObject()->className());
            // Keys typed by `inspect` go to the focus widget of the active
            // window; the offscreen platform activates a new window later.
            QApplication::setActiveWindow(modal);
            if (inspect)
                inspect(modal);
            modal->close();
        }
    });
    poll.start();
    action();
    QTest::qWait(settleMs);
    poll.stop();
    return seen;
}

// A picture of `widget` as the README shows it. First asserts what the
// picture must show on a 1366x768 screen: the window fits the screen, every
// visible control lies inside it (controls scrolled inside a view aside),
// and no button's or label's caption is cut short. Then saves it as `name`
// in $TZ305_SCREENSHOT_DIR when that is set.
inline void saveScreenshot(QWidget *widget, const QString &name)
{
    QApplication::processEvents();
    QVERIFY2(widget->isVisible(), qPrintable(name));
    QVERIFY2(widget->width() <= 1366 && widget->height() <= 768, qPrintable(name));
    const auto where = [&](const QWidget *c) {
        return QString::fromLatin1("%1: %2 %3 \"%4\"")
            .arg(name, QString::fromLatin1(c->metaObject()->className()), c->objectName(),
                 c->property("text").toString());
    };
    for (const QWidget *c : widget->findChildren<QWidget *>()) {
        if (c->isWindow() || !c->isVisibleTo(widget))
            continue;
        bool scrolled = false; // inside a scroll area's viewport it may lie beyond the view
        for (const QWidget *p = c->parentWidget(); p && p != widget; p = p->parentWidget())
            scrolled = scrolled || qobject_cast<const QAbstractScrollArea *>(p);
        if (scrolled)
            continue;
        const QRect at(c->mapTo(widget, QPoint()), c->size());
        QVERIFY2(widget->rect().contains(at), qPrintable(where(c)));

        QString caption;
        int room = 0;
        if (const auto *label = qobject_cast<const QLabel *>(c)) {
            if (label->wordWrap() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text()))
                continue;
            caption = label->text();
            room = label->contentsRect().width() - 2 * label->margin() - qMax(label->indent(), 0);
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(c)) {
            const auto *tool = qobject_cast<const QToolButton *>(c);
            if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull())
                continue; // shows its icon alone
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = caption = button->text();
            const QStyle::SubElement contents = qobject_cast<const QPushButton *>(c) ? QStyle::SE_PushButtonContents
                : qobject_cast<const QCheckBox *>(c)                              ? QStyle::SE_CheckBoxContents
                : qobject_cast<const QRadioButton *>(c)                           ? QStyle::SE_RadioButtonContents
                                                                                  : QStyle::SE_CustomBase;
            room = contents == QStyle::SE_CustomBase ? button->width()
                                                     : button->style()->subElementRect(contents, &option, button).width();
        }
        if (caption.isEmpty())
            continue;
        caption.remove(u'&');
        for (const QString &line : caption.split(u'\n'))
            QVERIFY2(c->fontMetrics().horizontalAdvance(line) <= room, qPrintable(where(c)));
    }
    const QString folder = qEnvironmentVariable("TZ305_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QVERIFY(widget->grab().save(QDir(folder).filePath(name)));
}

// Makes the offscreen platform's screen 1366x768, a small laptop's, where
// the windows must fit; call before the application is made. Under another
// platform the real screen stands.
inline void useLaptopScreen()
{
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return;
    static QTemporaryFile config(QDir::tempPath() + QStringLiteral("/tz305-screen-XXXXXX.json"));
    if (!config.open())
        qFatal("no screen configuration file");
    config.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768}]})");
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
}

} // namespace tz::test

// main() of a window test: the Qt Test class `Test` run in an application
// set up as the program's (tz::setUpApplication, from shell/ui/application.h).
#define TZ305_WINDOW_TEST_MAIN(Test)                                                                                   \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        tz::setUpApplication(app);                                                                                     \
        Test test;                                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
