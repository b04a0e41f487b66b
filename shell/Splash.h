#pragma once

#include <QWidget>

struct AppContext;
class PictureButton;
class QPushButton;
class SvgPicture;
namespace ScreenKit {
class LinkText;
}

// The splash window: the maker's picture and web address, which opens the browser.
class TfrmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmSplash(AppContext& ctx, QWidget* parent = nullptr);

    SvgPicture* imgLogo;
    ScreenKit::LinkText* lnkWeb;
    PictureButton* imgWeb;
    QPushButton* btnChiudi;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void lnkWebClick();

    AppContext& m_ctx;
    bool m_placed = false;
};
