// Shared helpers for the window tests (Qt Test, offscreen): finding named
// controls, typing as an input method does, mouse double-clicks, running an
// action that opens a modal window, and saving screenshots.
//
// Header only: tests/support/*.cpp also go into the core (non-widget) test
// executable, so nothing here may need linking there.
#pragma once

#include <functional>

#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QTimer>
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

// Saves a picture of `widget` as `name` in $TZ305_SCREENSHOT_DIR; does
// nothing when that is unset.
inline void saveScreenshot(QWidget *widget, const QString &name)
{
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
