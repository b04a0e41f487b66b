#pragma once

#include "shell/AppContext.h"

#include <QWidget>

class PictureButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class SvgPicture;
namespace ScreenKit {
class FocusMarks;
class LinkText;
} // namespace ScreenKit

// The work area "Storico Operazioni": the operator chooses a period of one calendar year, the
// window checks it and opens the history view of the operations withdrawn in it. It also opens
// the list of passes not yet returned. One instance for the whole run, shown by the launcher.
class TfrmMenuRiepilogo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmMenuRiepilogo(AppContext& ctx, QWidget* parent = nullptr);

    // Puts today's day and month into both ends of the period and the current year into the year
    // field, and focuses the year (every time the window is shown).
    void FormShow();
    // Checks the period and shows its history.
    void btnRiepilogoClick();
    void lnkWebClick();
    void btnGuidaClick();
    void btnChiudiClick();

    ScreenKit::FocusMarks* focusMarks() const { return m_marks; }

    // The ends of the period ("dd/mm/yyyy") as the latest check built them; each is empty until
    // the check has built it, and both are emptied when a check starts.
    QString startDate() const { return m_startDate; }
    QString endDate() const { return m_endDate; }

    QLabel* titAnno;
    QLineEdit* txtAnno;
    QGroupBox* grpDataInizio;
    QComboBox* txtGiornoInizio;
    QComboBox* txtMeseInizio;
    QLabel* lblAnnoInizio;
    QGroupBox* grpDataFine;
    QComboBox* txtGiornoFine;
    QComboBox* txtMeseFine;
    QLabel* lblAnnoFine;
    PictureButton* btnRiepilogo;
    QLabel* lblAttendere;
    ScreenKit::LinkText* lnkWeb;
    PictureButton* cmdWeb;
    PictureButton* btnGuida;
    PictureButton* btnChiudi;
    SvgPicture* imgLogo;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyYear();
    void checkFailed(QWidget* focus);

    AppContext& m_ctx;
    ScreenKit::FocusMarks* m_marks;
    QString m_startDate;
    QString m_endDate;
};
