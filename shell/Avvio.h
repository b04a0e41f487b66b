#pragma once

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

    enum class WorkArea
    {
        CardFile,
        Operations,
        History
    };

protected:
    // The single window of a work area: the card editor, the operations chooser, the history
    // interval window, as the context holds it (null in a context without it).
    virtual QWidget* workAreaWindow(WorkArea area) const;

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

    // Shows a work-area window, if it exists, and hides the launcher.
    void openWorkArea(QWidget* window);
    // Sizes pictures, buttons and type to the window, so that the launcher fills a small screen
    // and a large one alike.
    void scaleTo(const QSize& area);

    AppContext& m_ctx;
    double m_scale = 0;
};
