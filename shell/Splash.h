#pragma once

#include "shell/ShellDialog.h"

struct AppContext;
class PictureButton;
class QPushButton;
class SvgPicture;
namespace ScreenKit {
class LinkText;
}

// The splash window: the maker's picture and web address, which opens the browser.
class TfrmSplash : public ShellDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(AppContext& ctx, QWidget* parent = nullptr);

    SvgPicture* imgLogo;
    ScreenKit::LinkText* lnkWeb;
    PictureButton* imgWeb;
    QPushButton* btnChiudi;

private:
    void lnkWebClick();
};
