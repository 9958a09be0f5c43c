// Application-wide window set-up.
#include "shell/ui/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "store/appicon.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

// The platform's style, with the menu bar reachable by the Alt key alone
// (then the arrows), as the books' users expect of a desktop program.
class BooksStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

void setUpApplication(QApplication &app)
{
    QApplication::setStyle(new BooksStyle);
    // No display name: Qt appends a set one to every window title (" — TZ305"),
    // and the titles are the books' own texts.
    QApplication::setApplicationName(u"tz305"_s);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(paintApplicationIcon(size)));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(u"tz305"_s);
    QFont font(u"WenQuanYi Micro Hei"_s);
    font.setPointSize(10);
    QApplication::setFont(font);
    // The books speak Chinese whatever the system's locale: the calendar,
    // the file dialogs and Qt's own buttons follow this default.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto *translator = new QTranslator(&app);
    if (translator->load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace tz
