// Builds the template account set TZ_QSB/TZ_2XCB.RH from the text sources in
// template/ (schema.sql, info.sql, accounts.tsv, readings.tsv, phrases.txt,
// cashflow.tsv, statements/*.tsv when present), and paints the main window's
// background picture TZ_QSB/TZ305.li. Levels, full names, detail flags and
// pinyin initials of the chart are derived here, so the sources list each
// account once by code, name and side; readings.tsv states the initials of
// words whose characters are read otherwise than usual (银行: YH, not YX).
// Any fault in a source stops the build.
//
// Usage: tz305-mktemplate TEMPLATE_DIR OUT_TEMPLATE OUT_PICTURE
#include <algorithm>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSet>
#include <QTextStream>

#include "store/passwordhash.h"
#include "store/appicon.h"
#include "store/connection.h"
#include "store/dberror.h"
#include "store/lookupaccount.h"
#include "store/pinyininitials.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct BuildError
{
    QString message;
};

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BuildError{u"cannot read %1"_s.arg(path)};
    return QString::fromUtf8(file.readAll());
}

// Lines of a data file without comments and blank lines, with their numbers.
QList<std::pair<int, QString>> dataLines(const QString &path)
{
    QList<std::pair<int, QString>> lines;
    const QStringList all = readText(path).split(u'\n');
    for (int i = 0; i < all.size(); ++i) {
        QString line = all.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        lines.append({i + 1, line});
    }
    return lines;
}

struct Account
{
    QString code;
    QString name;
    QString direction;
    QString unit;
    QString spec;
    QString revalued;
};

QList<Account> readAccounts(const QString &path)
{
    QList<Account> accounts;
    QSet<QString> codes;
    for (const auto &[number, line] : dataLines(path)) {
        const QStringList f = line.split(u'\t');
        const auto where = u"%1:%2: "_s.arg(path).arg(number);
        if (f.size() < 3)
            throw BuildError{where + u"expected code, name and side"_s};
        Account a{f.at(0).trimmed(), f.at(1).trimmed(), f.at(2).trimmed(), f.value(3).trimmed(),
                  f.value(4).trimmed(), f.value(5).trimmed()};
        if (!tz::isAccountCodeShape(a.code) || a.code.at(0) < u'1' || a.code.at(0) > u'5')
            throw BuildError{where + u"bad account code "_s + a.code};
        if (codes.contains(a.code))
            throw BuildError{where + u"duplicate account code "_s + a.code};
        if (a.code.size() > 4 && !codes.contains(a.code.left(a.code.size() - 3)))
            throw BuildError{where + u"parent of %1 not listed before it"_s.arg(a.code)};
        if (a.name.isEmpty() || a.name.contains(u'/'))
            throw BuildError{where + u"bad account name"_s};
        if (a.direction != u"借"_s && a.direction != u"贷"_s)
            throw BuildError{where + u"side must be 借 or 贷"_s};
        if (!a.revalued.isEmpty() && a.revalued != u"Y"_s)
            throw BuildError{where + u"调汇 must be Y or empty"_s};
        codes.insert(a.code);
        accounts.append(a);
    }
    return accounts;
}

// A word of readings.tsv and the initials of its characters in that word.
struct Reading
{
    QString word;
    QString initials;
};

QList<Reading> readReadings(const QString &path)
{
    QList<Reading> readings;
    for (const auto &[number, line] : dataLines(path)) {
        const QStringList f = line.split(u'\t');
        const Reading r{f.value(0).trimmed(), f.value(1).trimmed()};
        // One upper-case letter for each character of the word, every one an
        // ideograph the derivation gives a letter, so the stated letters
        // stand exactly in place of the derived ones.
        const bool letters = std::all_of(r.initials.begin(), r.initials.end(),
                                          [](QChar c) { return c >= u'A' && c <= u'Z'; });
        if (f.size() != 2 || r.word.isEmpty() || !letters || r.initials.size() != r.word.size()
            || tz::PinyinInitials(r.word).size() != r.word.size()
            || std::any_of(r.word.begin(), r.word.end(), [](QChar c) { return c.unicode() < 0x80; }))
            throw BuildError{u"%1:%2: expected a Chinese word and one initial per character"_s.arg(path).arg(number)};
        readings.append(r);
    }
    return readings;
}

// The initials of an account name: PinyinInitials, except that a word of
// `readings` found in the name gives its stated initials. The text after a
// word is derived behind the word's last letter, so that a mark following
// the word repeats that letter as PinyinInitials has it repeat any other.
QString nameInitials(const QString &name, const QList<Reading> &readings)
{
    QString initials;
    QString before; // the last stated letter, an ASCII stand-in for its character
    qsizetype plainFrom = 0;
    const auto plain = [&](qsizetype from, qsizetype to) {
        return tz::PinyinInitials(before + name.mid(from, to - from)).mid(before.size());
    };
    for (qsizetype i = 0; i < name.size();) {
        const auto found = std::find_if(readings.begin(), readings.end(),
                                        [&](const Reading &r) { return QStringView(name).mid(i).startsWith(r.word); });
        if (found == readings.end()) {
            ++i;
            continue;
        }
        initials += plain(plainFrom, i) + found->initials;
        before = found->initials.right(1);
        i += found->word.size();
        plainFrom = i;
    }
    return initials + plain(plainFrom, name.size());
}

void insertAccounts(tz::Connection &db, const QList<Account> &accounts, const QList<Reading> &readings)
{
    QSet<QString> parents;
    for (const Account &a : accounts) {
        if (a.code.size() > 4)
            parents.insert(a.code.left(a.code.size() - 3));
    }
    QHash<QString, QString> fullName;
    int sequence = 0;
    for (const Account &a : accounts) {
        const QString parent = a.code.left(a.code.size() - 3);
        const QString full = a.code.size() == 4 ? a.name : fullName.value(parent) + u'/' + a.name;
        fullName.insert(a.code, full);
        const auto orNull = [](const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); };
        db.execute(u"INSERT INTO 科目表 (序号, 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 拼音, "
                   "单位, 规格, 调汇, 数量, 借方金额, 贷方金额) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, NULL, NULL)"_s,
                   {++sequence, a.code, a.name, int((a.code.size() - 1) / 3), full, a.direction,
                    parents.contains(a.code) ? u""_s : u"Y"_s, nameInitials(a.name, readings),
                    orNull(a.unit), orNull(a.spec), orNull(a.revalued)});
    }
}

void insertPhrases(tz::Connection &db, const QString &path)
{
    QSet<QString> seen;
    for (const auto &[number, line] : dataLines(path)) {
        const QString phrase = line.trimmed();
        if (seen.contains(phrase))
            throw BuildError{u"%1:%2: duplicate phrase"_s.arg(path).arg(number)};
        seen.insert(phrase);
        db.execute(u"INSERT INTO 摘要 (名称) VALUES (?)"_s, {phrase});
    }
}

void insertCashFlowItems(tz::Connection &db, const QString &path)
{
    for (const auto &[number, line] : dataLines(path)) {
        const QStringList f = line.split(u'\t');
        const QString code = f.value(0).trimmed();
        const QString name = f.value(1).trimmed();
        const bool digits = code.size() == 3 && std::all_of(code.begin(), code.end(), [](QChar c) {
                                return c >= u'0' && c <= u'9';
                            });
        if (!digits || (code.at(1) != u'0' && code.at(1) != u'1') || name.isEmpty())
            throw BuildError{u"%1:%2: bad cash-flow item"_s.arg(path).arg(number)};
        db.execute(u"INSERT INTO 现流 (代码, 名称) VALUES (?, ?)"_s, {code, name});
    }
}

// A statement template's lines: the file is named after its table, its
// first line names the columns, each further line is one row in order, and
// an empty cell is NULL (a line without a formula prints empty).
void insertStatementLines(tz::Connection &db, const QString &path)
{
    const QString table = QFileInfo(path).completeBaseName();
    const QList<std::pair<int, QString>> lines = dataLines(path);
    if (lines.isEmpty())
        throw BuildError{path + u": no column line"_s};
    const QStringList columns = lines.first().second.split(u'\t');
    const QString sql = u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
        table, columns.join(u", "_s), QStringList(columns.size(), u"?"_s).join(u", "_s));
    for (const auto &[number, line] : lines.mid(1)) {
        const QStringList cells = line.split(u'\t');
        if (cells.size() != columns.size())
            throw BuildError{u"%1:%2: %3 cells, the column line names %4"_s.arg(path).arg(number).arg(cells.size()).arg(columns.size())};
        QVariantList values;
        for (const QString &cell : cells)
            values.append(cell.isEmpty() ? QVariant() : QVariant(cell));
        db.execute(sql, values);
    }
}

void buildTemplate(const QString &sourceDir, const QString &outPath)
{
    const QString temporary = outPath + u".building"_s;
    QFile::remove(temporary);
    {
        tz::Connection db;
        db.create(temporary);
        db.begin();
        db.executeScript(readText(sourceDir + u"/schema.sql"_s));
        db.executeScript(readText(sourceDir + u"/info.sql"_s));
        tz::hashPlainPasswords(db); // the default passwords are stored as hashes too
        insertAccounts(db, readAccounts(sourceDir + u"/accounts.tsv"_s), readReadings(sourceDir + u"/readings.tsv"_s));
        insertPhrases(db, sourceDir + u"/phrases.txt"_s);
        insertCashFlowItems(db, sourceDir + u"/cashflow.tsv"_s);
        const QDir statements(sourceDir + u"/statements"_s);
        for (const QString &name : statements.entryList({u"*.tsv"_s}, QDir::Files, QDir::Name))
            insertStatementLines(db, statements.filePath(name));
        db.commit();
        db.executeScript(u"VACUUM"_s);
    }
    {
        // The product must open with the key and pass an integrity check.
        tz::Connection check;
        check.open(temporary);
        const tz::ResultSet result = check.query(u"PRAGMA integrity_check"_s);
        if (result.recordCount() != 1 || result.value(0, 0).toString() != u"ok"_s)
            throw BuildError{u"integrity check failed on "_s + temporary};
    }
    QFile::remove(outPath);
    if (!QFile::rename(temporary, outPath))
        throw BuildError{u"cannot rename %1 to %2"_s.arg(temporary, outPath)};
}

// A quiet ledger-paper background: pale green gradient, ruled lines, the
// program's name in the corner.
void paintBackground(const QString &outPath)
{
    QImage image(1600, 1000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, image.height());
    gradient.setColorAt(0.0, QColor(236, 246, 240));
    gradient.setColorAt(1.0, QColor(205, 228, 215));
    p.fillRect(image.rect(), gradient);
    p.setPen(QPen(QColor(180, 205, 192), 1));
    for (int y = 120; y < image.height(); y += 36)
        p.drawLine(0, y, image.width(), y);
    p.setPen(QPen(QColor(200, 120, 120), 2));
    for (const int x : {260, 1120, 1300, 1480})
        p.drawLine(x, 120, x, image.height());
    p.setPen(QColor(60, 110, 85));
    QFont title(u"WenQuanYi Micro Hei"_s);
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 20, image.width() - 60, 90), Qt::AlignRight | Qt::AlignVCenter,
               u"TZ305 总帐系统"_s);
    p.end();
    if (!image.save(outPath, "PNG"))
        throw BuildError{u"cannot write "_s + outPath};
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: tz305-mktemplate TEMPLATE_DIR OUT_TEMPLATE OUT_PICTURE OUT_ICON\n");
        return 2;
    }
    try {
        buildTemplate(args.at(1), args.at(2));
        paintBackground(args.at(3));
        if (!tz::paintApplicationIcon(256).save(args.at(4), "PNG"))
            throw BuildError{u"cannot write "_s + args.at(4)};
    } catch (const BuildError &error) {
        std::fprintf(stderr, "tz305-mktemplate: %s\n", qPrintable(error.message));
        return 1;
    } catch (const tz::DbError &error) {
        std::fprintf(stderr, "tz305-mktemplate: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
