#pragma once

#include <QWidget>

struct AppContext;
class PictureButton;
class QPushButton;
class SvgPicture;
class TfrmRiconsegne;
class TfrmRitiri;

// The operations chooser, the work area "Ritiri e Riconsegne": the operator says whether a pass
// goes out or comes back, and the chooser closes onto the withdrawal or the return screen (or onto
// the launcher when nothing was chosen).
class TfrmMenuOperazioni : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMenuOperazioni(AppContext& ctx, QWidget* parent = nullptr);

    // The screens that the chooser closes onto, handed over by the window set once it has made them.
    void setScreens(TfrmRitiri* withdrawals, TfrmRiconsegne* returns);

    // The operation chosen since the chooser was last shown.
    enum class Choice
    {
        None,
        Withdrawal, // "Ritiro pass"
        Return,     // "Riconsegna pass"
    };
    Choice choice() const { return m_choice; }

    void btnOrizzontaliClick();
    void btnVerticaliClick();
    void imgEsciClick();
    void imgGuidaClick();

    SvgPicture* icoTitolo;
    SvgPicture* icoIstruzioni;
    SvgPicture* icoEtichette;
    SvgPicture* icoIcona;
    QPushButton* btnOrizzontali; // "Ritiro pass"
    QPushButton* btnVerticali;   // "Riconsegna pass"
    PictureButton* imgEsci;
    PictureButton* imgGuida;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    AppContext& m_ctx;
    TfrmRitiri* m_withdrawals = nullptr;
    TfrmRiconsegne* m_returns = nullptr;
    Choice m_choice = Choice::None;
};
