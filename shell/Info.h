#pragma once

#include "shell/ShellDialog.h"

struct AppContext;
class PictureButton;
class QPushButton;
class SvgPicture;
namespace ScreenKit {
class LinkText;
}

// The information window: the product and the maker's e-mail address, which opens the mail program.
class TfrmInfo : public ShellDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(AppContext& ctx, QWidget* parent = nullptr);

    SvgPicture* imgLogo;
    ScreenKit::LinkText* lnkWeb;
    PictureButton* imgEmail;
    QPushButton* btnChiudi;

private:
    void lnkWebClick();
};
