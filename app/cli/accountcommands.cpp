// Commands over the chart of accounts: account add / top / rename / delete /
// attrs / propose, and the picker's search. They call the same operations
// as the chart window and the account picker and print the same messages.
#include <cstdio>
#include <optional>

#include "accounts/accountsearch.h"
#include "accounts/accounttree.h"
#include "accounts/chartrules.h"
#include "accounts/deleteaccount.h"
#include "accounts/detailattributes.h"
#include "accounts/renameaccount.h"
#include "accounts/subaccount.h"
#include "accounts/toplevelaccount.h"
#include "app/cli/cli.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

namespace {

// Reads the options of a sub-command and insists on the required ones.
bool readOptions(const QString &usage, const QStringList &args, const QStringList &allowed, const QStringList &required,
    QHash<QString, QString> &values)
{
    if (!takeOptions(args, allowed, values))
        return false;
    for (const QString &name : required) {
        if (!values.contains(name)) {
            usageError(usage);
            return false;
        }
    }
    return true;
}

int addDetail(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    const QStringList names {u"parent"_s, u"sub"_s, u"name"_s, u"dir"_s};
    if (!readOptions(
            u"用法: account add --parent 上级代码 --sub 下级代码 --name 名称 --dir 借|贷"_s, args, names, names, v))
        return Usage;
    return exitStatusOf(AddDetailAccount(ctx.session,
        {v.value(u"parent"_s), v.value(u"sub"_s), v.value(u"name"_s), v.value(u"dir"_s), {}}, ctx.dialogs));
}

// account top and account rename: code, name and direction, all required,
// handed to `operation` as its record.
template<typename Record>
int codeNameDirection(Context &ctx, const QStringList &args, const QString &usage,
    OpResult (*operation)(Session &, const Record &, Dialogs &))
{
    QHash<QString, QString> v;
    const QStringList names {u"code"_s, u"name"_s, u"dir"_s};
    if (!readOptions(usage, args, names, names, v))
        return Usage;
    return exitStatusOf(
        operation(ctx.session, {v.value(u"code"_s), v.value(u"name"_s), v.value(u"dir"_s), {}}, ctx.dialogs));
}

int addTop(Context &ctx, const QStringList &args)
{
    return codeNameDirection(ctx, args, u"用法: account top --code 代码 --name 名称 --dir 借|贷"_s, AddTopLevelAccount);
}

int rename(Context &ctx, const QStringList &args)
{
    return codeNameDirection(ctx, args, u"用法: account rename --code 代码 --name 名称 --dir 借|贷"_s, RenameAccount);
}

int deleteAccount(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!readOptions(u"用法: account delete --code 代码"_s, args, {u"code"_s}, {u"code"_s}, v))
        return Usage;
    return exitStatusOf(DeleteAccount(ctx.session, v.value(u"code"_s), ctx.dialogs));
}

// Options not given keep the account's current values, as a grid row keeps
// the cells nobody edited.
int attributes(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!readOptions(u"用法: account attrs --code 代码 [--unit 单位] [--spec 规格] [--fx Y|N]"_s, args,
            {u"code"_s, u"unit"_s, u"spec"_s, u"fx"_s}, {u"code"_s}, v))
        return Usage;
    const QString fx = v.value(u"fx"_s, u"Y"_s);
    if (fx != u"Y"_s && fx != u"N"_s)
        return usageError(u"account attrs: --fx 只能是 Y 或 N"_s);
    const QString code = v.value(u"code"_s);
    std::optional<ChartAccount> account;
    if (const OpResult read = ReadAccount(ctx.session, code, account, ctx.dialogs); !read.isDone())
        return exitStatusOf(read);
    DetailAttributes values;
    if (account)
        values = {account->unit, account->spec, account->revalued};
    if (v.contains(u"unit"_s))
        values.unit = v.value(u"unit"_s);
    if (v.contains(u"spec"_s))
        values.spec = v.value(u"spec"_s);
    if (v.contains(u"fx"_s))
        values.revalued = fx == u"Y"_s;
    return exitStatusOf(SetDetailAttributes(ctx.session, code, values, ctx.dialogs));
}

int propose(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    if (!readOptions(u"用法: account propose --parent 上级代码"_s, args, {u"parent"_s}, {u"parent"_s}, v))
        return Usage;
    QString subCode;
    const OpResult result = ProposeSubCode(ctx.session, v.value(u"parent"_s), subCode, ctx.dialogs);
    if (result.isDone())
        std::printf("%s\n", qPrintable(subCode));
    return exitStatusOf(result);
}

} // namespace

int accountCommand(Context &ctx, const QStringList &args)
{
    return runSubCommand(ctx, args,
        {{u"add"_s, addDetail}, {u"top"_s, addTop}, {u"rename"_s, rename}, {u"delete"_s, deleteAccount},
            {u"attrs"_s, attributes}, {u"propose"_s, propose}},
        u"用法: account add|top|rename|delete|attrs|propose ..."_s);
}

int searchCommand(Context &ctx, const QStringList &args)
{
    QHash<QString, QString> v;
    QStringList text;
    if (!takeOptions(args, {u"class"_s}, v, &text))
        return Usage;
    if (text.size() != 1)
        return usageError(u"用法: search 查找内容 [--class 1-5]"_s);
    bool ok = true;
    const int accountClass = v.contains(u"class"_s) ? v.value(u"class"_s).toInt(&ok) : 0;
    if (!ok || !isAccountClass(accountClass))
        return usageError(u"search: --class 只能是 1 到 5"_s);
    QList<AccountSearchHit> hits;
    const OpResult result = SearchAccounts(ctx.session, text.first(), accountClass, hits, ctx.dialogs);
    if (!result.isDone())
        return exitStatusOf(result);
    QList<QStringList> rows;
    for (const AccountSearchHit &hit : std::as_const(hits))
        rows.append({hit.code, hit.fullName});
    ctx.print({u"科目代码"_s, u"科目全称"_s}, rows);
    return Done;
}

} // namespace tz::cli
