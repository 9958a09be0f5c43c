// tz305: the desktop program. Until the login window exists it opens the
// main frame with the background picture.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>

#include "shell/ui/application.h"
#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);

    QMainWindow window;
    window.setWindowTitle(u"TZ305 总帐系统"_s);
    auto *area = new QMdiArea(&window);
    const QPixmap picture(tz::backgroundPicturePath());
    if (!picture.isNull())
        area->setBackground(QBrush(picture.scaled(1280, 800, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    window.setCentralWidget(area);
    window.resize(1280, 800);
    window.show();
    return app.exec();
}
