#pragma once
// A file that could not be read or written; its text names the file and the reason.
// Handlers let it pass to the error box (luvir::guarded).

#include <QString>

#include <stdexcept>

namespace luvir {

class FileError : public std::runtime_error
{
public:
    explicit FileError(const QString &text)
        : std::runtime_error(text.toStdString())
    {
    }
};

} // namespace luvir
