#pragma once

#include "archives/PassRecord.h"
#include "shell/AppContext.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class Document;
class PassLineModel;
class PassListBox;

// The card search: up to ten filter texts, one per descriptive field of the card; the cards that
// contain every filter in use are listed as pass lines, which can be searched, printed, and loaded
// into the card editor by a double-click. Each line keeps the position of its card, and the card
// loaded is the one read again at that position.
class TfrmTrovaSchedario_Chiavi : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmTrovaSchedario_Chiavi(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmTrovaSchedario_Chiavi() override;

    // The caller tag: a double-click hands a card over only when it is "schedario_chiavi", the card
    // editor's tag.
    void setCallerTag(const QString& tag) { m_callerTag = tag; }

    // How many filters the latest search used.
    int filtersInUse() const { return m_filtersInUse; }

    PassLineModel* model() const { return m_model; }

    // The commands.
    void btnCercaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void lstRecordsDblClick();

signals:
    // A double-click chose this card, read again at its 1-based position; the window closes after it.
    void cardChosen(qint64 position, const PassRecord& card);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildWindow();
    QWidget* buildFilterPanel();
    QWidget* buildResultPanel();

    AppContext& m_ctx;
    QString m_callerTag;
    int m_filtersInUse = 0;
    PassLineModel* m_model = nullptr;
    std::unique_ptr<Document> frxReport; // the printed form of the list
    QString m_rememberedFind;

    // Filter panel.
    QWidget* panAvvio = nullptr;
    QLineEdit* txtCodice = nullptr;
    QLineEdit* txtTipo = nullptr;
    QLineEdit* txtUtilizzo = nullptr;
    QLineEdit* txtStato = nullptr;
    QLineEdit* txtDuplicati = nullptr;
    QLineEdit* txtLuogo = nullptr;
    QLineEdit* txtResponsabile = nullptr;
    QLineEdit* txtRecapiti = nullptr;
    QLineEdit* txtPersone = nullptr;
    QLineEdit* txtNote = nullptr;
    QPushButton* btnCerca = nullptr;
    QPushButton* btnAnnulla = nullptr;
    QLabel* lblAttendere = nullptr;

    // Result panel.
    QWidget* panContainer = nullptr;
    QLineEdit* txtTrova = nullptr;
    QPushButton* btnTrova = nullptr;
    PassListBox* lstRecords = nullptr;
    QLabel* lblTrovate = nullptr;
    QLabel* lblRigo03 = nullptr;
    QPushButton* btnStampa = nullptr;
    QPushButton* btnChiudi = nullptr;
};
