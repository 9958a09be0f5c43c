// RAII transaction guard.
#include "store/transaction.h"

#include "store/session.h"

namespace tz {

Transaction::Transaction(Session &session, Mode mode)
    : m_session(session)
{
    m_session.OpenMainConnection();
    m_session.mainConnection().begin(mode != Mode::Read, mode == Mode::WorkTables);
}

Transaction::~Transaction()
{
    if (!m_finished)
        m_session.mainConnection().rollback();
}

void Transaction::commit()
{
    m_finished = true;
    m_session.mainConnection().commit();
}

} // namespace tz
