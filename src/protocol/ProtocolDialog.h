#pragma once
// "Протокол испытаний": the header fields of a protocol of structures chosen in the register,
// filled in from what the register keeps, and the protocol made from them: previewed and
// printed, or saved as PDF or as an ODT to finish in an office program. What was typed is
// kept in the register for the next protocol once a protocol is made.

#include "ProtocolContent.h"
#include "Register.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace luvir {

class ProtocolDialog : public QDialog
{
    Q_OBJECT

public:
    // The protocol of `structureIds`, all of one object, of the open register `reg` (kept
    // by the caller while the dialog is open).
    ProtocolDialog(Register &reg, const QList<RegisterId> &structureIds, QWidget *parent = nullptr);

    // Why the protocol cannot be made (no structure, several objects, the register failed);
    // empty when it can. The dialog is not shown then.
    QString errorString() const { return m_error; }

    // The protocol as the fields now say; nothing, after telling the user, when a date
    // typed is none.
    std::optional<ProtocolContent> content();

public slots:
    void preview();
    // Asks for the file and saves the protocol there; true when it was saved.
    bool savePdf();
    bool saveOdt();

private:
    enum class Format { Pdf, Odt };
    bool save(Format format, QWidget *parent);
    // Keeps the fields in the register for the next protocol, telling the user when it cannot.
    void keepFields(const ProtocolContent &content);
    void fill(const ProtocolHeader &header);

    Register &m_register;
    RegisterId m_objectId = 0;
    ProtocolContent m_made; // from the register: the structures and their sites
    QString m_error;
    QString m_lastFile[2]; // the last file chosen, per format

    QLineEdit *m_number = nullptr;
    QDateEdit *m_date = nullptr;
    QLineEdit *m_conditions = nullptr;
    QLineEdit *m_laboratoryName = nullptr;
    QLineEdit *m_laboratoryAddress = nullptr;
    QLineEdit *m_accreditation = nullptr;
    QLineEdit *m_customer = nullptr;
    QLineEdit *m_objectName = nullptr;
    QLineEdit *m_objectAddress = nullptr;
    QPlainTextEdit *m_standards = nullptr;
    QLineEdit *m_instrument = nullptr;
    QLineEdit *m_serialNumber = nullptr;
    QLineEdit *m_verificationNumber = nullptr;
    QLineEdit *m_verificationDate = nullptr;
    QPlainTextEdit *m_conclusion = nullptr;
    QLineEdit *m_executorName = nullptr;
    QLineEdit *m_executorPosition = nullptr;
    QCheckBox *m_withValues = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace luvir
