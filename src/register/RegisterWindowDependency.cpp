// The register window's column of the strength by a structure's calibration dependency:
// beside the meter's R, shown while a listed structure has a dependency.
#include "RegisterWindow.h"

#include "Register.h"
#include "RegisterMeasurementModel.h"

#include <QHeaderView>
#include <QTableView>

namespace luvir {

void RegisterWindow::setUpDependencyColumn()
{
    m_model->setDependencyReader([this] {
        return m_register ? m_register->structureDependencies() : QHash<RegisterId, AppliedDependency>();
    });
    constexpr int kStrengthColumn = 6; // the meter's R
    QHeaderView *header = Table->horizontalHeader();
    header->moveSection(
        RegisterMeasurementModel::kDependencyColumn, header->visualIndex(kStrengthColumn) + 1);
    const auto showWhenAny = [this] {
        Table->setColumnHidden(RegisterMeasurementModel::kDependencyColumn, !m_model->hasDependencies());
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, showWhenAny);
    showWhenAny();
}

} // namespace luvir
