// Adding detail accounts.
#include "accounts/subaccount.h"

#include "accounts/chartrules.h"
#include "store/checkedwrite.h"
#include "store/digits.h"
#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/lookupaccount.h"
#include "store/pinyininitials.h"
#include "store/session.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

bool isSubCode(const QString &subCode)
{
    return subCode.size() == 3 && isAllDigits(subCode);
}

QString threeDigits(qint64 number)
{
    return u"%1"_s.arg(number, 3, 10, QChar(u'0'));
}

} // namespace

OpResult ProposeSubCode(Session &session, const QString &parentCode, QString &subCode, Dialogs &dialogs)
{
    subCode.clear();
    if (!isAccountCodeShape(parentCode))
        return OpResult::done();
    return guarded(dialogs, [&] {
        // The direct children: the parent's code and exactly three more characters.
        const ResultSet count
            = session.RunSql(u"SELECT count(*) FROM 科目表 WHERE length(科目代码) = ? AND substr(科目代码, 1, ?) = ?"_s,
                {parentCode.size() + 3, parentCode.size(), parentCode});
        subCode = threeDigits(count.value(0, 0).toLongLong() + 1);
        return OpResult::done();
    });
}

QString followingSubCode(const QString &subCode)
{
    bool ok = false;
    const int number = subCode.toInt(&ok);
    return ok ? threeDigits(number + 1) : QString();
}

OpResult AddDetailAccount(Session &session, const NewDetailAccount &account, Dialogs &dialogs)
{
    const QString &parent = account.parentCode;
    const QString &sub = account.subCode;
    const QString name = cleanAccountName(account.name);
    if (parent.isEmpty() || sub.isEmpty() || name.isEmpty() || !isBalanceDirection(account.direction))
        return refuseInChart(dialogs, u"代码,名称,方向不能为空"_s, chartInputTitle());
    if (!isSubCode(sub))
        return refuseInChart(dialogs, u"代码应为三位整数"_s);
    if (parent.size() == 13)
        return refuseInChart(dialogs, u"不能再增加下级明细"_s);
    if (!isAccountCodeShape(parent))
        return refuseInChart(dialogs, noSuchAccountText(parent));

    const QString code = parent + sub;
    const int level = int(parent.size() / 3) + 1; // 4 -> 2, 7 -> 3, 10 -> 4
    const QString initials = account.initials.trimmed().isEmpty() ? PinyinInitials(name) : account.initials.trimmed();

    // The chart checks, made before the question and again under the write
    // lock, where no other program can add the same code or post to the
    // parent before the account is written.
    QString fullName;
    bool parentBooked = false;
    const auto check = [&]() -> std::optional<PendingRefusal> {
        const ResultSet parentRow = session.RunSql(u"SELECT 科目全称 FROM 科目表 WHERE 科目代码 = ?"_s, {parent});
        if (parentRow.eof())
            return PendingRefusal{noSuchAccountText(parent), chartTitle(), Icon::Question};
        fullName = parentRow.text(u"科目全称"_s) + u'/' + name;
        const ResultSet sameCode = session.RunSql(u"SELECT 科目全称 FROM 科目表 WHERE 科目代码 = ?"_s, {code});
        if (!sameCode.eof())
            return PendingRefusal{code + u' ' + sameCode.text(u"科目全称"_s) + u"  此代码已存在!"_s, chartTitle(),
                                  Icon::Question};
        // Names compare as the books always have: letters without regard to case.
        const ResultSet sameName = session.RunSql(
            u"SELECT 科目代码 FROM 科目表 WHERE 科目全称 = ? COLLATE NOCASE ORDER BY 科目代码 LIMIT 1"_s, {fullName});
        if (!sameName.eof())
            return PendingRefusal{sameName.text(u"科目代码"_s) + fullName + u"  此明细科目已存在!"_s, chartTitle(),
                                  Icon::Question};
        parentBooked = !session.RunSql(u"SELECT 1 FROM 分录表 WHERE 科目代码 = ? LIMIT 1"_s, {parent}).eof();
        return std::nullopt;
    };
    const auto ask = [&] {
        return !parentBooked
            || dialogs.ask(parent + u"---代码已有数据!如果增加明细将默认为此明细.是否增加？"_s, u"特别提示"_s);
    };
    return checkAskWrite(session, dialogs, check, ask, [&] {
        // The parent's lines move to the new account; lines posted to it
        // since the question move too, since a parent account keeps none.
        session.execSql(u"UPDATE 分录表 SET 科目代码 = ? WHERE 科目代码 = ?"_s, {code, parent});
        // The new account takes over the parent's opening figures, as it
        // takes over the parent's journal lines.
        // A sub-account of a parent flagged for revaluation keeps the
        // currency's unit, spec and flag, so it is revalued as the parent was.
        session.execSql(u"INSERT INTO 科目表 (序号, 科目代码, 科目名称, 科目级数, 科目全称, 方向, 明细, 拼音, "
                        "数量, 借方金额, 贷方金额, 单位, 规格, 调汇) "
                        "SELECT (SELECT ifnull(max(序号), 0) + 1 FROM 科目表), ?, ?, ?, ?, ?, 'Y', ?, "
                        "数量, 借方金额, 贷方金额, "
                        "CASE WHEN 调汇 = 'Y' THEN 单位 END, CASE WHEN 调汇 = 'Y' THEN 规格 END, "
                        "CASE WHEN 调汇 = 'Y' THEN 'Y' END FROM 科目表 WHERE 科目代码 = ?"_s,
            {code, name, level, fullName, account.direction, initials, parent});
        session.execSql(u"UPDATE 科目表 SET 明细 = '', 数量 = NULL, 借方金额 = NULL, 贷方金额 = NULL "
                        "WHERE 科目代码 = ?"_s,
            {parent});
        // The parent's vouchers now carry the new code: their records follow.
        logOperation(session, u"增加科目"_s, 0, code + u' ' + fullName);
        relogVouchersOn(session, code);
    });
}

} // namespace tz
