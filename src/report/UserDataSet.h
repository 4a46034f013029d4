#pragma once
// A data set without fields of its own: a record range the program sets and a current
// record number the program reads while the report is prepared. Records count from 0.

#include <QString>

#include <utility>

namespace luvir {

class UserDataSet
{
public:
    explicit UserDataSet(QString userName)
        : m_userName(std::move(userName))
    {
    }

    const QString &userName() const { return m_userName; }

    // The record range: records 0 .. count - 1 (a negative count means none).
    void setRecordCount(int count) { m_count = count < 0 ? 0 : count; }
    int recordCount() const { return m_count; }

    // The record the report is printing now.
    int recNo() const { return m_recNo; }
    void first() { m_recNo = 0; }
    void next() { ++m_recNo; }
    bool eof() const { return m_recNo >= m_count; }

private:
    QString m_userName;
    int m_count = 0;
    int m_recNo = 0;
};

} // namespace luvir
