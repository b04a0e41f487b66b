#pragma once

#include "archives/HistoryRecord.h"
#include "shell/AppContext.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

// The return summary: the whole cycle of the pass just returned, in eleven boxes, and OK, which
// appends the cycle to the history file and closes the window. Only the return date can still be
// changed here. The window has no other way out, so every summary shown leads to one append; when
// the append fails, the operator is told and the summary stays open for OK to try again, with a
// second way out that closes without the history once confirmed.
class TfrmRiepilogo_Operazione : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmRiepilogo_Operazione(AppContext& ctx, QWidget* parent = nullptr);

    // Fills the eleven boxes, each with the trimmed text.
    void showCycle(const HistoryRecord& cycle);
    // The history record as the boxes hold it now.
    HistoryRecord cycle() const;

    void btnOKClick();
    void btnChiudiClick();

    QLineEdit* txtCodice;
    QLineEdit* txtTipo;
    QLineEdit* txtUtilizzo;
    QLineEdit* txtLuogo;
    QLineEdit* txtPersone;
    QLineEdit* txtPersonaRit;
    QLineEdit* txtDataRit;
    QLineEdit* txtOraRit;
    QLineEdit* txtPersonaRic;
    QLineEdit* txtDataRic; // the only editable box
    QLineEdit* txtOraRic;
    QPushButton* btnOK;
    // Shown once an append has failed: closes the summary without the history, after a question.
    QPushButton* btnChiudi;

    // 0 until the cycle is recorded; then the 1-based number of the new history record.
    qint64 historyPosition() const { return m_historyPosition; }

signals:
    // The summary closes without the cycle in the history file, as the operator confirmed.
    void closedWithoutHistory();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QLineEdit*> boxes() const;

    AppContext& m_ctx;
    bool m_leaving = false;
    qint64 m_historyPosition = 0;
};
