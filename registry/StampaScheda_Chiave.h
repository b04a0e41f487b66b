#pragma once

#include "shell/AppContext.h"

#include <QMap>
#include <QString>
#include <QWidget>

#include <memory>

class Document;
class QLabel;
class QPushButton;

// The card print window: prints on one A4 sheet the pass card that the card editor shows, its ten
// descriptive fields as they are on screen (saved or not), with the date and time of printing at
// the foot. The card editor creates it for each print, hands it the values and shows it modally:
//
//     Navigation::runModal<TfrmStampaScheda_Chiave>(this, m_ctx,
//         [this](TfrmStampaScheda_Chiave& frm) { frm.takeValuesFrom(this); });
//
// "Stampa" prints and closes the window; "Annulla" closes it without printing.
class TfrmStampaScheda_Chiave : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmStampaScheda_Chiave(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmStampaScheda_Chiave() override;

    // Reads the editor's controls txtCodice, txtTipo, txtUtilizzo, txtStato, txtDuplicati,
    // txtLuogo, txtResponsabile, txtRecapiti, txtPersone and txtNote (line edits, drop-down edits
    // or plain-text edits, found by name among the editor's children); a missing one counts empty.
    void takeValuesFrom(const QWidget* editor);
    // The value of one row, named by its box (txtCodice .. txtNote); it is trimmed when printed.
    void setValue(const QString& box, const QString& text);
    QString value(const QString& box) const { return m_values.value(box); }

    // The card document `repDocumento`, as filled by the latest print.
    const Document& document() const { return *repDocumento; }

    QPushButton* btnStampa = nullptr;
    QPushButton* btnAnnulla = nullptr;

public slots:
    void btnStampaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& m_ctx;
    std::unique_ptr<Document> repDocumento;
    QMap<QString, QString> m_values; // by value box
};
