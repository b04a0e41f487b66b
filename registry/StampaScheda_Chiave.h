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
//         [this](TfrmStampaScheda_Chiave& frm) { frm.setValues(shownValues()); });
//
// "Stampa" prints and closes the window; "Annulla" closes it without printing.
class TfrmStampaScheda_Chiave : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmStampaScheda_Chiave(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmStampaScheda_Chiave() override;

    // The values to print, each named by the editor's box that shows it (txtCodice, txtTipo,
    // txtUtilizzo, txtStato, txtDuplicati, txtLuogo, txtResponsabile, txtRecapiti, txtPersone,
    // txtNote); a missing one prints empty, and each is trimmed when printed.
    void setValues(const QMap<QString, QString>& values) { m_values = values; }
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
