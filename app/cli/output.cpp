// Table output of the command line (TSV by default, CSV with --csv), the
// exit statuses and the choice of a sub-command.
#include "app/cli/cli.h"

#include <cstdio>

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

QString cellText(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        // Plain decimal notation, never an exponent: 300000 rather than 3e+05.
        return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    return value.toString();
}

// TSV keeps one line per row: tab, newline and backslash are escaped.
QString tsvField(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += u"\\\\"_s;
        else if (c == u'\t')
            out += u"\\t"_s;
        else if (c == u'\n')
            out += u"\\n"_s;
        else if (c == u'\r')
            out += u"\\r"_s;
        else
            out += c;
    }
    return out;
}

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace

int exitStatusOf(const OpResult &result)
{
    switch (result.status) {
    case OpResult::Status::Done:
        return Done;
    case OpResult::Status::Refused:
        return Refused;
    case OpResult::Status::Failed:
        return Failed;
    }
    return Failed;
}

void Context::print(const QStringList &header, const QList<QStringList> &rows) const
{
    const auto line = [this](const QStringList &fields) {
        QStringList out;
        for (const QString &f : fields)
            out.append(options.csv ? csvField(f) : tsvField(f));
        const QByteArray bytes = (out.join(options.csv ? u',' : u'\t') + u'\n').toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    };
    line(header);
    for (const QStringList &row : rows)
        line(row);
    std::fflush(stdout);
}

void Context::print(const ResultSet &rows) const
{
    QList<QStringList> lines;
    lines.reserve(rows.recordCount());
    for (const ResultSet::Row &row : rows.rows()) {
        QStringList fields;
        for (const QVariant &v : row)
            fields.append(cellText(v));
        lines.append(fields);
    }
    print(rows.columnNames(), lines);
}

int Context::printIfDone(const OpResult &result, const ResultSet &rows) const
{
    if (result.isDone())
        print(rows);
    return exitStatusOf(result);
}

int Context::printIfDone(const OpResult &result, const QStringList &header, const QStringList &row) const
{
    if (result.isDone())
        print(header, {row});
    return exitStatusOf(result);
}

int runSubCommand(Context &ctx, const QStringList &args, const QList<SubCommand> &subCommands, const QString &usage)
{
    const QString name = args.value(0);
    for (const SubCommand &sub : subCommands) {
        if (sub.name == name)
            return sub.run(ctx, args.mid(1));
    }
    return usageError(usage);
}

int usageError(const QString &text)
{
    std::fprintf(stderr, "tz305-cli: %s\n", qPrintable(text));
    return Usage;
}

bool takeOptions(QStringList args, const QStringList &names, QHash<QString, QString> &values, QStringList *rest)
{
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg.startsWith(u"--"_s)) {
            const QString name = arg.mid(2);
            if (!names.contains(name)) {
                usageError(u"未知的选项: "_s + arg);
                return false;
            }
            if (args.isEmpty()) {
                usageError(u"选项 %1 缺少值"_s.arg(arg));
                return false;
            }
            values.insert(name, args.takeFirst());
        } else if (rest) {
            rest->append(arg);
        } else {
            usageError(u"多余的参数: "_s + arg);
            return false;
        }
    }
    return true;
}

} // namespace tz::cli
