#pragma once

#include <QWidget>

struct AppContext;
class QLabel;
class QLineEdit;
class QPushButton;
class SvgPicture;

// The login window, the application's main window: one password guards the whole program. After a
// correct password it hides itself and the launcher takes over; it stays alive, hidden, until the
// end. It also leads to the change-password window.
class TfrmPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPassword(AppContext& ctx, QWidget* parent = nullptr);

    // The form in which a typed password is compared and stored: letters a to z in capitals (no
    // other character changes case), blanks around removed.
    static QString typedForm(const QString& typed);

    QWidget* panContainer;
    QWidget* shpTitolo;
    QWidget* shpSfondo;
    SvgPicture* imgLogo;
    QLabel* lblRigo05;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdEsci;
    QPushButton* btnCambiaPassword;

    // Shows the window again with an empty password field that has the focus (when the
    // change-password window that it opened closes).
    void comeBack();

signals:
    // A correct password was given; the launcher has been shown.
    void loggedIn();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void txtPasswordChange();
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

    AppContext& m_ctx;
    bool m_placed = false;
};
