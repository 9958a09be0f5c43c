// The offered file names.
#include "store/offeredname.h"

#include <QDir>

#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString exportsFolder()
{
    const QString folder = dataFolder() + u"/exports"_s;
    QDir().mkpath(folder);
    return folder;
}

QString periodName(int year, const QString &month)
{
    const QString text = month.trimmed();
    bool ok = false;
    const int m = text.toInt(&ok);
    if (ok && m >= 1 && m <= 12)
        return u"%1年%2月"_s.arg(year).arg(m);
    if (text == u"年初"_s)
        return u"%1年年初"_s.arg(year);
    return u"%1年"_s.arg(year);
}

QString offeredPath(const QString &shortName, const QStringList &parts, const QString &suffix)
{
    QStringList pieces{shortName};
    for (const QString &part : parts) {
        if (!part.trimmed().isEmpty())
            pieces.append(part.trimmed());
    }
    QString name = pieces.join(u'_');
    name.replace(u'/', u'-');
    return exportsFolder() + u'/' + name + u'.' + suffix;
}

} // namespace tz
