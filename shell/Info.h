#pragma once

#include <QWidget>

struct AppContext;
class PictureButton;
class QPushButton;
class SvgPicture;
namespace ScreenKit {
class LinkText;
}

// The information window: the product and the maker's e-mail address, which opens the mail program.
class TfrmInfo : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmInfo(AppContext& ctx, QWidget* parent = nullptr);

    SvgPicture* imgLogo;
    ScreenKit::LinkText* lnkWeb;
    PictureButton* imgEmail;
    QPushButton* btnChiudi;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void lnkWebClick();

    AppContext& m_ctx;
    bool m_placed = false;
};
