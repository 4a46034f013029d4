#pragma once
// Where the register lives: by default register.sqlite in the program's data folder
// (~/.local/share/luvir/), or the file the user last opened or created, which is
// remembered for the next start; a server's password typed in this run; and whether
// downloads go into it.

#include <QString>

namespace luvir {

// The program's data folder's register.sqlite, the same for the program and luvir-cli.
QString defaultRegisterPath();
// The register last used, or the default one when none was remembered.
QString rememberedRegisterPath();
// Remembers `fileName` (a file, or a server's "postgresql://…" location, never with its
// password) as the register to use from now on. When the choice cannot be kept for the next
// start (no HOME, settings that cannot be written), it holds for this run only and the
// result says why ("не задана переменная окружения HOME …"); empty when it was kept.
QString rememberRegisterPath(const QString &fileName);

// The password the user typed for a server's register in this run of the program: kept
// in memory only, never written anywhere, so that the next download, the register window
// and the next opening do not ask again. Empty when none was typed.
QString sessionPassword(const QString &location);
void keepSessionPassword(const QString &location, const QString &password);

// Whether every completed download goes into the register (on unless turned off).
bool downloadsGoToRegister();
void rememberDownloadsGoToRegister(bool on);

} // namespace luvir
