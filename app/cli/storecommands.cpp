// Commands over the account-set store: new, operators, info, login, accounts, sql.
#include <QFileInfo>

#include "app/cli/cli.h"
#include "store/accountset.h"
#include "store/dberror.h"
#include "store/guard.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

int newSetCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!takeOptions(args, {u"short"_s, u"year"_s, u"dir"_s}, v))
        return Usage;
    if (!v.contains(u"short"_s) || !v.contains(u"year"_s) || !v.contains(u"dir"_s))
        return usageError(u"用法: new --short 帐套简称 --year 年度 --dir 文件夹"_s);
    // A relative folder is taken from the working directory, as a shell user means it.
    const QString dir = QFileInfo(v.value(u"dir"_s)).absoluteFilePath();
    QString created;
    const OpResult result = CreateAccountSet(v.value(u"short"_s), v.value(u"year"_s), dir, ctx.dialogs, &created);
    if (result.isDone())
        std::printf("%s\n", qPrintable(created));
    return exitStatusOf(result);
}

int operatorsCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"operators 不带参数"_s);
    const OpResult result = guarded(ctx.dialogs, [&] {
        ctx.print(ctx.session.RunSql(u"SELECT 操作员 FROM 信息表 WHERE 操作员 IS NOT NULL"_s));
        return OpResult::done();
    });
    return exitStatusOf(result);
}

int infoCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"info 不带参数"_s);
    const QString year = u"20"_s + ctx.session.dbPath().right(2);
    ctx.print({u"帐套名称"_s, u"年度"_s, u"帐套简称"_s, u"路径"_s},
        {{ctx.session.companyName(), year, ctx.session.setShortName(), ctx.session.dbPath()}});
    return Done;
}

// The login values the global options produced, as the windows would hold
// them after the login window; the password is never printed.
int loginValuesCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"login 不带参数"_s);
    const Session &s = ctx.session;
    ctx.print({u"dbPath"_s, u"operatorName"_s, u"fiscalYear"_s, u"companyName"_s, u"setShortName"_s},
        {{s.dbPath(), s.operatorName(), QString::number(s.fiscalYear()), s.companyName(), s.setShortName()}});
    return Done;
}

int accountsCommand(Context &ctx, const QStringList &args)
{
    if (!args.isEmpty())
        return usageError(u"accounts 不带参数"_s);
    const OpResult result = guarded(ctx.dialogs, [&] {
        ctx.print(
            ctx.session.RunSql(u"SELECT 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 拼音, 单位, 规格, 调汇, "
                               "数量, 借方金额, 贷方金额 FROM 科目表 ORDER BY 科目代码"_s));
        return OpResult::done();
    });
    return exitStatusOf(result);
}

int sqlCommand(Context &ctx, const QStringList &args)
{
    if (args.size() != 1)
        return usageError(u"用法: sql \"SELECT ...\"(一条只读查询)"_s);
    try {
        ctx.session.OpenMainConnection();
        ctx.print(ctx.session.mainConnection().queryReadOnly(args.first()));
        return Done;
    } catch (const DbError &error) {
        ctx.dialogs.show(error.message(), u"TZ305提示"_s, Icon::Critical);
        const bool refused = error.kind() == DbError::Kind::ReadOnlyQuery || error.kind() == DbError::Kind::TooLong;
        return refused ? Refused : Failed;
    }
}

} // namespace tz::cli
