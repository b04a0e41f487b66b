#pragma once

#include "shell/WorkAreas.h"

#include <QWidget>

struct AppContext;
class PictureButton;
class QPushButton;
class SvgPicture;

// The launcher: the home of the three work areas, reached after the login. It also opens the
// general guide, the information and splash windows and the maker's web site; closing it ends the
// application at once.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(AppContext& ctx, QWidget* parent = nullptr);

    PictureButton* imgApp01;
    QPushButton* btnApp01;
    PictureButton* imgApp02;
    QPushButton* btnApp02;
    PictureButton* imgApp03;
    QPushButton* btnApp03;
    PictureButton* imgGuida;
    PictureButton* imgInfo;
    PictureButton* imgSplash; // the small icon at the bottom left
    PictureButton* imgSito;
    PictureButton* imgEsci;
    SvgPicture* icoTitoloApp;
    SvgPicture* icoIcona;
    SvgPicture* imgSottotitolo;
    QWidget* panContainer;
    QWidget* shpNomeApp;
    QWidget* shpCalce;
    QWidget* bkgApp06;
    QWidget* bkgApp08;
    QWidget* bkgApp10;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void imgApp01Click();
    void imgApp02Click();
    void imgApp03Click();
    void imgGuidaClick();
    void imgInfoClick();
    void imgSplashClick();
    void imgSitoClick();
    void imgEsciClick();

    // Shows the window of a work area, if the context's work areas have it, and hides the launcher.
    void openWorkArea(WorkArea area);
    // Sizes pictures, buttons and type to the window, so that the launcher fills a small screen
    // and a large one alike.
    void scaleTo(const QSize& area);

    AppContext& m_ctx;
    double m_scale = 0;
};
