#pragma once

#include <QString>
#include <QWidget>

#include <functional>

struct AppContext;
class PictureButton;
class QHBoxLayout;
class QVBoxLayout;
namespace ScreenKit {
class LinkText;
}

// What the guide, information and splash windows share: a fixed dialog frame of a fixed size on the
// shaded background (scrolled on a screen too small for it), placed the first time it shows (on the screen, or over the
// window that opens it), a white sheet above a foot, and a picture beside a link that both do the same.
class ShellDialog : public QWidget
{
    Q_OBJECT
protected:
    enum class Placement
    {
        OnScreen,
        OverOpener,
    };

    // The window named `objectName`, read as `caption`; its title bar shows the caption after a blank.
    ShellDialog(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& caption, QSize size,
                Placement placement);

    // The picture takes no focus, gives the link its pressed look, and a click on either runs `click`.
    void joinLink(PictureButton* picture, ScreenKit::LinkText* link, const std::function<void()>& click);
    // The picture and the link side by side, centred in a row.
    static QHBoxLayout* centredRow(PictureButton* picture, ScreenKit::LinkText* link);
    // The window's layout holding the sheet, which takes all the height the foot leaves; the caller
    // adds the foot.
    QVBoxLayout* layOutWithSheet(QWidget* sheet);

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    AppContext& m_ctx;

private:
    Placement m_placement;
    QWidget* m_content; // what the window shows, in a scroll area on a screen too small for it
    bool m_placed = false;
};
