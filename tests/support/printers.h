// Readable gtest output for Qt values.
#pragma once

#include <ostream>

#include <QString>
#include <QStringList>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{';
    for (const QString &s : list)
        *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}
