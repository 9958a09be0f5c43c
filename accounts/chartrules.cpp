// Shared rules of the chart-of-accounts operations.
#include "accounts/chartrules.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString chartTitle()
{
    return u"TZ305提示"_s;
}

QString chartInputTitle()
{
    return u"请检查如下内容↓"_s;
}

QString cleanAccountName(const QString &typed)
{
    QString name = typed;
    name.remove(u'\r');
    name.remove(u'\n');
    name.remove(u'"');
    return name.trimmed();
}

bool isBalanceDirection(const QString &direction)
{
    return direction == u"借"_s || direction == u"贷"_s;
}

bool isAccountClass(int accountClass)
{
    return accountClass >= 0 && accountClass <= 5;
}

QString noSuchAccountText(const QString &code)
{
    return code + u"  此科目不存在!"_s;
}

OpResult refuseInChart(Dialogs &dialogs, const QString &text, const QString &title, Icon icon)
{
    dialogs.show(text, title, icon);
    return OpResult::refused(text);
}

QString chartHelpText()
{
    return u"1.先双击上级,录名称,最后点增明细。先双击要修改的科目,录名称,最后点修改。(删除时连下级一起删除!)。\n\n"
           "2.固定资产/无形资产/生物资产,在增明细时最好对应增加折旧代码(如:1501001固定资产/"
           "飞机.哪么1502001就是累计折旧/飞机....)\n\n"
           "3.可能提示代码已存在是因为代码后三位自动按个数算,出现断号,可以直接修改代码后三位补上。"_s;
}

QString noSuchChartAccountText(const QString &code)
{
    return code + u"  此科目不存在"_s;
}

QString notDetailAccountText(const QString &code, const QString &refused)
{
    return code + u"  不是明细科目,"_s + refused;
}

} // namespace tz
