// The voucher window on the full month, driven as the operator drives it:
// opened, 首条, 末条, 上一 and 下一 clicked, and a voucher saved; each step
// timed from the click until the window is painted again.
#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "bench/bench.h"
#include "store/scripteddialogs.h"
#include "store/session.h"
#include "vouchers/posting.h"
#include "vouchers/ui/voucherwindow.h"

using namespace Qt::Literals::StringLiterals;

namespace bench {

namespace {

double medianOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A press of the left button on `label`, as the mouse gives it.
void clickLabel(QLabel *label)
{
    const QPointF at(label->width() / 2.0, label->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(label, &press);
}

} // namespace

bool MeasureVoucherWindow(tz::Session &s, const Options &options, std::vector<Figure> &figures)
{
    // The saved voucher is deleted again after each save, which asks first.
    tz::ScriptedDialogs d(QList<bool>(options.runs, true));
    std::unique_ptr<tz::VoucherWindow> window;
    const double openMs = medianMillis(options.runs, [&] {
        window.reset();
        window = std::make_unique<tz::VoucherWindow>(s, d);
        window->resize(1366, 768);
        window->show();
        (void)window->grab();
    });
    const auto button = [&](const QString &name) { return window->findChild<QPushButton *>(name); };
    const auto number = [&] { return window->findChild<QLineEdit *>(u"Text4"_s)->text(); };
    const auto click = [&](const QString &name) {
        return millis([&] {
            button(name)->click();
            (void)window->grab();
        });
    };
    std::vector<double> first, last, previous, next, save;
    for (int run = 0; run < options.runs; ++run) {
        first.push_back(click(u"Command10"_s));
        last.push_back(click(u"Command13"_s));
        previous.push_back(click(u"Command12"_s));
        next.push_back(click(u"Command11"_s));
    }
    const QString lastNumber = number();
    // The last voucher's lines saved as the month's next voucher, as the
    // operator does after a click on "凭证号:"; then deleted again, so the
    // journal is as it was.
    for (int run = 0; run < options.runs; ++run) {
        button(u"Command13"_s)->click();
        clickLabel(window->findChild<QLabel *>(u"Label7"_s));
        save.push_back(click(u"Command14"_s));
        button(u"Command13"_s)->click();
        if (number() == lastNumber) {
            std::printf("  FAILED: the voucher window did not save the voucher: %s\n",
                        d.messages.isEmpty() ? "" : qPrintable(d.messages.last().text));
            return false;
        }
        button(u"Command1"_s)->click();
    }
    button(u"Command13"_s)->click();
    if (number() != lastNumber || d.messages.isEmpty() || d.messages.last().text != u"凭证删除成功"_s) {
        std::printf("  FAILED: the voucher window's saved voucher was not deleted again\n");
        return false;
    }
    window.reset();
    const qint64 vouchers = lastNumber.toLongLong();
    figures.push_back({u"voucher window: opened on month 12"_s, openMs, vouchers});
    figures.push_back({u"voucher window: 首条"_s, medianOf(first), 1});
    figures.push_back({u"voucher window: 末条"_s, medianOf(last), vouchers});
    figures.push_back({u"voucher window: 上一 / 下一 (the slower)"_s, std::max(medianOf(previous), medianOf(next))});
    figures.push_back({u"voucher window: save a voucher"_s, medianOf(save), vouchers + 1});
    return true;
}

} // namespace bench
