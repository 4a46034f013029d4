#pragma once
// The download's progress on standard error: a bar redrawn in place on a terminal, a line
// per whole percent otherwise.

#include "Console.h"

namespace luvir::cli {

class DownloadProgress
{
public:
    explicit DownloadProgress(Console &console)
        : m_console(console)
    {
    }

    // `total` cells are to be read; `label` stands in front ("Читаю архив:").
    void start(const QString &label, int total);
    // `done` cells of the total are in.
    void update(int done);
    // Every cell is in.
    void finish();
    // Ends the bar's line so a message can follow on a line of its own.
    void interrupt();

private:
    void draw(int done);

    Console &m_console;
    QString m_label;
    int m_total = 0;
    int m_lastPercent = -1; // the last line written without a terminal
    int m_lastDone = -1; // the last bar drawn on a terminal
    bool m_lineOpen = false; // a bar is drawn and its line not yet ended
};

} // namespace luvir::cli
