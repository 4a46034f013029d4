#pragma once
// «Градуировочный набор»: a set's name, direct method, the concrete it is for, the date it
// was made ("ДД.ММ.ГГГГ", empty when not known) and notes. A set is never left without a
// name; a date that is not one is refused before the dialog closes.

#include "RegisterCalibration.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace luvir {

class CalibSetDialog : public QDialog
{
    Q_OBJECT
public:
    // `set` as read (a new one: id 0).
    explicit CalibSetDialog(const CalibrationSet &set, QWidget *parent = nullptr);

    // What was read, with the fields as the dialog shows them.
    CalibrationSet set() const;

    void accept() override;

    QLineEdit *Name = nullptr;
    QComboBox *Method = nullptr;
    QLineEdit *Concrete = nullptr;
    QLineEdit *MadeOn = nullptr;
    QPlainTextEdit *Notes = nullptr;

private:
    CalibrationSet m_set;
};

} // namespace luvir
