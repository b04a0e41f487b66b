#pragma once

#include <QWidget>

struct AppContext;
class QLabel;
class QLineEdit;
class QPushButton;
class SvgPicture;

// The change-password window, reached from the login window before logging in: the old password,
// the new one and its confirmation. Closing it, by "Chiudi" or after a change, tells the login
// window to come back with an empty password field.
class TfrmCambiaPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(AppContext& ctx, QWidget* parent = nullptr);

    // The scrambling keeps 8 bits per character and other workstations read at most this many.
    static constexpr int MaxLength = 255;

    QWidget* shpTitolo;
    QWidget* shpSfondo;
    SvgPicture* imgLogo;
    QLabel* lblRigo05;
    QLabel* lblRigo06;
    QLabel* lblRigo07;
    QLineEdit* txtPasswordOld;
    QLineEdit* txtPasswordNew;
    QLineEdit* txtConferma;
    QPushButton* cmdEsci;
    QPushButton* cmdOK;

signals:
    // The window is closing, by "Chiudi" or after a change; the window that opened it comes back
    // before this one goes, so the application always has a window.
    void closing();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fieldsChange();
    void cmdOKClick();
    // Why the new password cannot be stored so that it can be typed again; empty when it can.
    static QString refusal(const QString& newPassword);

    AppContext& m_ctx;
    bool m_placed = false;
};
