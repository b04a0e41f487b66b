#pragma once

#include <QLabel>

class QSvgRenderer;

// A picture that only decorates or tells (the product name, the subtitle, a logo): drawn from an
// SVG of the resources at whatever size the screen gives it, proportions kept, centred. It stays a
// label to the accessibility layer, read by its accessible name.
class SvgPicture : public QLabel
{
    Q_OBJECT
public:
    // `picture` is a resource path (":/pictures/x.svg") or the bare name "x".
    explicit SvgPicture(const QString& picture, QWidget* parent = nullptr);

    // The size the layout is asked for; the natural size of the picture by default.
    void setPictureSize(const QSize& size);
    QSize pictureSize() const;
    QSize naturalSize() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer* m_renderer;
    QSize m_pictureSize;
};
