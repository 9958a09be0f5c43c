// Fresh account sets copied from the built template.
#include "store/temporaryset.h"

#include <stdexcept>

#include <QFile>

#include "store/accountset.h"
#include "store/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

TemporarySet::TemporarySet(const QString &shortName, int year)
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    m_path = m_dir.filePath(accountSetFileName(shortName, QString::number(year)));
    if (!QFile::copy(templatePath(), m_path))
        throw std::runtime_error("cannot copy the template; is TZ305_PROGRAM_DIR set?");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    m_session.setDbPath(m_path);
    m_session.setSetShortName(shortName);
    m_session.setFiscalYear(qint16(year));
    m_session.setOperatorName(u"主管"_s);
    m_session.setOperatorPassword(u"888"_s);
}

} // namespace tz
