// The command line's commands: name, what --help says of it, what it needs
// (a set, a login) and what runs it; in the order --help lists them.
#include "app/cli/cli.h"

using namespace Qt::Literals::StringLiterals;

namespace tz::cli {

QList<Command> allCommands()
{
    using enum Command::Needs;
    return {
        {u"new"_s, u"new --short 简称 --year 年度 --dir 文件夹   从模板新建帐套"_s, Nothing, newSetCommand},
        {u"operators"_s, u"operators   帐套的操作员"_s, Set, operatorsCommand},
        {u"info"_s, u"info   帐套的单位名称、年度、简称和路径"_s, Set, infoCommand},
        {u"login"_s, u"login   登录并列出登录值(帐套、操作员、年度、单位、简称)"_s, Login, loginValuesCommand},
        {u"accounts"_s, u"accounts   科目表"_s, Login, accountsCommand},
        {u"sql"_s, u"sql \"SELECT ...\"   一条只读查询"_s, Login, sqlCommand},

        {u"account"_s,
            u"account add --parent 上级代码 --sub 下级代码 --name 名称 --dir 借|贷   在上级科目下增设明细科目\n"
            "  account top --code 代码 --name 名称 --dir 借|贷   增设一级科目\n"
            "  account rename --code 代码 --name 名称 --dir 借|贷   修改科目名称或方向\n"
            "  account delete --code 代码   删除科目及其全部下级\n"
            "  account attrs --code 代码 [--unit 单位] [--spec 规格] [--fx Y|N]   单位、规格、调汇标志\n"
            "  account propose --parent 上级代码   下一个下级科目的建议代码"_s,
            Login, accountCommand},
        {u"search"_s, u"search 查找内容 [--class 1-5]   名称、拼音首字母或代码含有查找内容的明细科目"_s, Login,
            searchCommand},

        {u"phrase"_s, u"phrase add 摘要 | delete 摘要 | list   常用摘要"_s, Login, phraseCommand},
        {u"item"_s, u"item add --code 代码 --name 名称 | delete --code 代码 | list   现金流量项目"_s, Login,
            itemCommand},
        {u"opening"_s,
            u"opening set --code 科目代码 [--qty 数量] [--debit 借方] [--credit 贷方] | list | trial | load   "
            "年初余额: 修改明细科目、列出、试算平衡、装入分录"_s,
            Login, openingCommand},

        {u"initialise"_s, u"initialise   系统初始化: 先备份, 再清空本年度的分录和年初余额(问三次; --yes)"_s, Login,
            initialiseCommand},
        {u"carry-forward"_s, u"carry-forward   年度过帐: 在本帐套旁建下年帐套, 年初数取本年期末余额(询问; --yes)"_s,
            Login, carryForwardCommand},
        {u"restore"_s,
            u"restore --from 备份文件 [--as 简称] [--dir 文件夹]   帐套恢复: 备份恢复为帐套 简称.Y年份"
            "(在数据文件夹或指定文件夹, 不覆盖文件; 问两次; --yes)"_s,
            Nothing, restoreCommand},
        {u"compact"_s, u"compact   压缩修复: 帐套重写为紧凑的文件; 损坏的帐套抢救到旁边的新帐套(询问; --yes)"_s, Login,
            compactCommand},
        {u"backup"_s, u"backup   数据备份: 在备份文件夹存一份注明日期的副本(询问; --yes)"_s, Login, backupCommand},
        {u"check"_s,
            u"check   检查文件完整性和帐簿规则(凭证平衡、号码连续、明细科目、年初平衡、已结帐月份、保存的余额)"_s,
            Login, checkCommand},
        {u"log"_s, u"log [--month 月]   操作日志: 每次记帐操作的时间、操作员、操作、月、号码和分录摘要值(TSV)"_s, Login,
            showLogCommand},
        {u"passphrase"_s,
            u"passphrase set [--file 文件] | remove   帐套加密: 帐套改用自己的帐套密码加密(取自文件第一行、"
            "TZ305_NEW_SET_PASSPHRASE 或提示时输入两次; 遗失后无法找回), 或恢复为共用密钥(询问; --yes)"_s,
            Login, passphraseCommand},
        {u"settings"_s,
            u"settings company 单位全称 | rename 新操作员 | password [--new-password-file 文件]"
            " | backup-path 文件夹   信息设置(当前操作员); 新密码取自文件、TZ305_NEW_PASSWORD"
            " 或提示时输入两次"_s,
            Login, settingsCommand},

        {u"close"_s, u"close --month 月份 [--reviewer 审核人]   结帐: 损益结转到 3103"_s, Login, closeCommand},
        {u"reopen"_s, u"reopen --month 月份   反结帐: 删除该月的结转凭证"_s, Login, reopenCommand},

        {u"voucher"_s,
            u"voucher save|insert|modify|delete|show|import ...   凭证; "
            "分录写成 --line \"摘要|科目代码|数量|借方|贷方|流代|流金\""_s,
            Login, voucherCommand},

        {u"demo"_s,
            u"demo [--dir 文件夹] [--year 年度] [--vouchers-per-month 每月凭证数] [--seed 随机种子]   "
            "建演示帐套 示例 及一年的凭证(不指定文件夹时在数据文件夹的 demo 下)"_s,
            Nothing, demoCommand},

        {u"ledger"_s,
            u"ledger --account 科目代码 --format three|general|quantity|multi|multi1|fixed [--price-digits 单价小数位] "
            u"  "
            "生成帐页并列出其工作表"_s,
            Login, ledgerCommand},

        {u"balance"_s,
            u"balance --month 月份 [--depth 级数] [--quantity]   该月的科目余额表(数量式余额表), 列到第 1-4 级"
            "(默认 1); --quantity 显示数量栏"_s,
            Login, balanceCommand},
        {u"summary"_s, u"summary --month 月份   该月的凭证汇总表"_s, Login, summaryCommand},
        {u"journal"_s, u"journal [--month 月份|全部|年初]   分录簿, 默认全年"_s, Login, journalCommand},
        {u"filter"_s, u"filter --prefix 代码开头   代码以此开头的全部分录"_s, Login, filterCommand},
        {u"export-journal"_s, u"export-journal 文件   帐簿写成纯文本日记帐(供 ledger、hledger 使用)"_s, Login,
            exportJournalCommand},

        {u"statement"_s,
            u"statement --table 资产表13|资产表07|利润表13|利润表07|现流表 --month 月份 [--xlsx 文件]   计算报表并列出(或写成工作簿)"_s,
            Login, statementCommand},
        {u"statement-template"_s,
            u"statement-template --table 报表 list | set --line 行次 [--caption 项目] [--formula 公式]"
            "   报表公式设置"_s,
            Login, statementTemplateCommand},

        {u"print"_s,
            u"print voucher|ledger|balance|summary|statement ... [--pdf 文件]"
            "   打印凭证、帐页或报表, 或写成 PDF 文件"_s,
            Login, printCommand},

        {u"export"_s,
            u"export sheet --query ledger|balance|summary|journal [该查询的选项] --xlsx 文件"
            "   表格导出为工作表(导出)\n"
            "  export ledger --account 科目代码 --format three|general|quantity|multi --xlsx 文件"
            "   分页的帐页工作簿(EXCEL帐页)"_s,
            Login, exportCommand},

        {u"revalue"_s,
            u"revalue --month 月份 --rate 科目代码=汇率 [--rate ...] --against 科目代码 [--reviewer 审核人]   "
            "期末调汇: 列出调汇表并生成凭证"_s,
            Login, revalueCommand},

        {u"batch"_s,
            u"batch month-end --sets 文件夹 --month 月份 --out 输出文件夹 [--credentials 文件] [--jobs N]"
            " [--shard K/N] [--reviewer 审核人] [--layout 13|07] [--year 年度] | batch merge --out 输出文件夹"
            "   批量月结: 文件夹下每个帐套检查、结帐、出报表和余额表、备份"_s,
            OwnSets, batchCommand},
    };
}

} // namespace tz::cli
