#pragma once

#include "shell/GuidePages.h"
#include "shell/ShellDialog.h"

struct AppContext;
class PictureButton;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class SvgPicture;
namespace ScreenKit {
class LinkText;
}

// The guide window: one page of help chosen by the screen that opens it, and the link to the full
// guide Guida.pdf in the ProgramFolder.
class TfrmGuida : public ShellDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(AppContext& ctx, QWidget* parent = nullptr);

    // Opens a guide page the way every screen does: a new guide window owned by `opener`, filled
    // with the page, shown modally and destroyed when it closes.
    static void openPage(QWidget* opener, AppContext& ctx, GuideTopic topic);

    void showPage(const GuidePage& page);

    QLabel* lblTitolo;
    QPlainTextEdit* txtGuida;
    ScreenKit::LinkText* lnkWeb;
    PictureButton* imgPDF;
    QPushButton* btnChiudi;
    SvgPicture* imgLogo;
    QWidget* shpSfondo;

private:
    void lnkWebClick();
};
