#pragma once
// Every test program keeps its data and settings in a folder of its own, removed at the
// end: the register and the remembered register file of the user who runs the tests are
// never touched, and the programs a test starts inherit the same folder.

#include <QTemporaryDir>
#include <QtGlobal>

namespace luvir::test {

inline void usePrivateHome()
{
    static QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
}

} // namespace luvir::test
