#pragma once
// Where the command-line tool writes: standard output and standard error, in UTF-8.

#include <QString>

namespace luvir::cli {

class Console
{
public:
    virtual ~Console() = default;
    virtual void out(const QString &text) = 0;
    virtual void err(const QString &text) = 0;
    // Whether standard error is a terminal, so a progress bar can be redrawn in place.
    virtual bool errIsTerminal() const = 0;
};

// The process's own standard output and standard error.
class StdConsole final : public Console
{
public:
    void out(const QString &text) override;
    void err(const QString &text) override;
    bool errIsTerminal() const override;
};

} // namespace luvir::cli
