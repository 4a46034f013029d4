#pragma once
// What the device commands show besides their messages: the two texts of the download dialog.

#include "LinkReporter.h"

namespace luvir {

class CommandReporter : public LinkReporter
{
public:
    // "Версия протокола:1.0", for the dialog's version label.
    virtual void showProtocolVersion(const QString &text) = 0;
    // "Размер архива: 300", for the dialog's size label.
    virtual void showArchiveSize(const QString &text) = 0;
};

} // namespace luvir
