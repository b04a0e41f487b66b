#pragma once

#include "operations/DateTimeBlock.h"
#include "printing/FormDocument.h"
#include "shell/AppContext.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <memory>
#include <utility>

class Document;
class QPushButton;

// What a signature form prints, taken from the operation screen as it shows it at that moment.
struct SignatureValues
{
    QString persona;
    QString giorno, mese, anno; // the month as its name
    QString ore, minuti;
    QString codice, tipo, utilizzo;
};

// The withdrawal and the return form: the same A4 page with the operation's title, row labels and
// columns, two signature lines and the gold footer with the date and time of printing.
namespace SignatureForms {

FormDesign design(Operation operation);

// The value boxes and their texts: person, "07 Marzo 2025", "09:05", identifier, type and use.
QList<std::pair<QString, QString>> boxValues(Operation operation, const SignatureValues& values);

} // namespace SignatureForms

// The print window of a signature form: two explanations, Stampa (print, then close) and Annulla.
class SignatureFormWindow : public QWidget
{
    Q_OBJECT
public:
    SignatureFormWindow(AppContext& ctx, Operation operation, QWidget* parent = nullptr);
    ~SignatureFormWindow() override;

    Operation operation() const { return m_operation; }
    void setValues(const SignatureValues& values) { m_values = values; }
    // The form document `repDocumento`.
    Document& document() const { return *m_document; }

    void btnStampaClick();
    void btnAnnullaClick();

    QPushButton* btnAnnulla;
    QPushButton* btnStampa;

    static QString printFailedMessage();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    AppContext& m_ctx;
    Operation m_operation;
    SignatureValues m_values;
    std::unique_ptr<Document> m_document;
};
