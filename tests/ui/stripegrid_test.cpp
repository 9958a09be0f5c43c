// Result-grid striping: header colour, alternating rows, current cell.
#include <QHeaderView>
#include <QTableWidget>
#include <QtTest>

#include "shell/ui/application.h"
#include "store/ui/stripegrid.h"

using namespace Qt::Literals::StringLiterals;

class StripeGridTest : public QObject
{
    Q_OBJECT

private slots:
    void stripesRowsFromOne()
    {
        QTableWidget grid(5, 3);
        grid.setItem(1, 1, new QTableWidgetItem(u"已有"_s));
        tz::StripeGrid(&grid);
        const QColor odd(240, 255, 255);
        const QColor even(215, 255, 215);
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column) {
                QTableWidgetItem *item = grid.item(row, column);
                QVERIFY(item);
                QCOMPARE(item->background().color(), row % 2 == 0 ? odd : even);
            }
        }
        QCOMPARE(grid.item(1, 1)->text(), u"已有"_s); // contents untouched
        QCOMPARE(grid.currentRow(), 0);
        QCOMPARE(grid.currentColumn(), 0);
        QVERIFY(grid.horizontalHeader()->styleSheet().contains(u"rgb(210,210,253)"_s));
    }

    void emptyGridIsLeftAlone()
    {
        QTableWidget grid(0, 4);
        tz::StripeGrid(&grid);
        QVERIFY(grid.horizontalHeader()->styleSheet().isEmpty());
        tz::StripeGrid(nullptr);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tz::setUpApplication(app);
    StripeGridTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "stripegrid_test.moc"
