// Version strings.
#include "shell/version.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

constexpr qsizetype kPaddedWidth = 95;

QString productPrefix()
{
    return u"TZ305(青松版)Y"_s + versionNumber();
}

} // namespace

QString versionNumber()
{
    const QStringList parts = QString::fromLatin1(TZ305_VERSION).split(u'.');
    return parts.value(0, u"0"_s) + u'.' + parts.value(1, u"0"_s);
}

QString mainCaption(const QString &companyName)
{
    return productPrefix() + u'-' + companyName;
}

QString versionLine()
{
    return productPrefix() + u"  总帐系统 · 面向小企业的记帐软件"_s;
}

QString paddedVersionLine()
{
    const QString line = versionLine();
    return QString(qMax<qsizetype>(0, kPaddedWidth - line.size()), u' ') + line;
}

QString aboutText()
{
    return u"系统版本:"_s + productPrefix() + u"\n\n"_s
        + u"总帐系统:凭证、帐簿、报表与年度结转\n"_s
        + u"适用于执行小企业会计准则的单位\n\n"_s
        + u"使用中遇到问题,请与本单位的系统管理员联系;\n"_s
        + u"修改建议请写明版本号和操作步骤。"_s;
}

} // namespace tz
