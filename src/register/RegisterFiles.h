#pragma once
// Adding archive files to the register, as "Добавить архивы в журнал…" and
// `luvir-cli register add` do: each file one source, each measurement once; files the
// archive reader refuses, or the register could not take, are named with their reason and
// skipped, the others added.

#include "Register.h"

#include <QStringList>

namespace luvir {

struct FileRefusal {
    QString fileName; // as given
    QString reason; // the archive reader's words, or "Журнал: …." when the register failed
};

// Adds every file in turn; what became of the added cells is summed in the result.
ImportCounts addArchiveFiles(
    Register &target, const QStringList &fileNames, const QDateTime &addedAt, QList<FileRefusal> &refused);

} // namespace luvir
