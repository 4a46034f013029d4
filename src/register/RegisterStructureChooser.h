#pragma once
// "Отнести к конструкции": the structures under their objects, in natural order, starting
// on the one chosen last. Arrows and Enter choose; typing a name's start goes to it.

#include "RegisterTypes.h"

#include <QDialog>

class QTreeWidget;

namespace luvir {

class RegisterStructureChooser : public QDialog
{
    Q_OBJECT
public:
    RegisterStructureChooser(const QList<RegisterObject> &objects, const QList<RegisterStructure> &structures,
        RegisterId start, QWidget *parent = nullptr);

    // The structure chosen; 0 when an object's line is current.
    RegisterId chosen() const;
    QTreeWidget *Tree = nullptr;
};

} // namespace luvir
