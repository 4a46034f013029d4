#pragma once
// Where the register lives: by default register.sqlite in the program's data folder
// (~/.local/share/luvir/), or the file the user last opened or created, which is
// remembered for the next start; and whether downloads go into it.

#include <QString>

namespace luvir {

// The program's data folder's register.sqlite, the same for the program and luvir-cli.
QString defaultRegisterPath();
// The register last used, or the default one when none was remembered.
QString rememberedRegisterPath();
// Remembers `fileName` (a file, or a server's "postgresql://…" location, never with its
// password) as the register to use from now on.
void rememberRegisterPath(const QString &fileName);

// Whether every completed download goes into the register (on unless turned off).
bool downloadsGoToRegister();
void rememberDownloadsGoToRegister(bool on);

} // namespace luvir
