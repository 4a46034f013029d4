#include "Console.h"

#include <cstdio>

#include <unistd.h>

namespace luvir::cli {

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void StdConsole::out(const QString &text)
{
    write(stdout, text);
}

void StdConsole::err(const QString &text)
{
    write(stderr, text);
}

bool StdConsole::errIsTerminal() const
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace luvir::cli
