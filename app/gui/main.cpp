// tz305: the desktop program. The login window comes first; after a
// successful login the main window is the frame of every working window.
// An account-set path given on the command line (a file opened from the
// file manager) is preselected in the login window, as if chosen with
// 选择帐套. --version prints the version without needing a display.
#include <cstdio>
#include <cstring>

#include <QApplication>

#include "batch/ui/monthendwindow.h"
#include "maintenance/compact.h"
#include "shell/ui/application.h"
#include "shell/ui/mainwindow.h"
#include "store/session.h"
#include "store/ui/controls.h"
#include "store/ui/loginwindow.h"

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tz305 %s\n", TZ305_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    tz::setUpApplication(app);

    tz::Session session;
    {
        tz::LoginWindow login(session);
        // A damaged set cannot be logged in to, so 压缩修复 is offered here.
        login.setFailedSetHandler([](const QString &path, tz::Dialogs &dialogs) { tz::OfferSalvage(path, dialogs); });
        // A firm's month end runs over a folder of sets, before any login.
        login.setMonthEndOpener([](QWidget *parent) {
            tz::MonthEndWindow window(parent);
            tz::fitWithinScreen(&window, parent);
            window.exec();
        });
        const QStringList args = QApplication::arguments();
        if (args.size() > 1)
            login.preselect(args.at(1));
        if (login.exec() != QDialog::Accepted)
            return 0;
    }
    tz::MainWindow window(session);
    window.showMaximized();
    return app.exec();
}
