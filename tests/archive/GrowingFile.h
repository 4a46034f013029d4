#pragma once
// Makes one file grow at a chosen moment of its reading, the same way every run: this
// test program's read(2) stands in front of the C library's and, for the armed file,
// appends bytes to it just before its first read, or just after the read that met its
// end. Other files read as usual.

#include <QByteArray>
#include <QString>

namespace luvir::test {

enum class GrowthMoment {
    BeforeTheFirstRead, // after the reader took the size, before it read a byte
    AfterTheEnd, // once the reader has read what was there
};

// While it lives, the file `path` grows by `tail` at `moment`, once.
class GrowingFile
{
public:
    GrowingFile(const QString &path, const QByteArray &tail, GrowthMoment moment);
    ~GrowingFile();
    GrowingFile(const GrowingFile &) = delete;
    GrowingFile &operator=(const GrowingFile &) = delete;

    // Whether the file has grown.
    bool grown() const;
};

} // namespace luvir::test
