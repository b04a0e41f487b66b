#include "shell/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

namespace {

QString resourcePath(const QString& picture)
{
    return picture.startsWith(u':') ? picture : u":/pictures/"_s + picture + u".svg"_s;
}

} // namespace

SvgPicture::SvgPicture(const QString& picture, QWidget* parent)
    : QLabel(parent), m_renderer(new QSvgRenderer(resourcePath(picture), this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
}

void SvgPicture::setPictureSize(const QSize& size)
{
    if (m_pictureSize == size)
        return;
    m_pictureSize = size;
    updateGeometry();
    update();
}

QSize SvgPicture::pictureSize() const
{
    return m_pictureSize.isValid() ? m_pictureSize : naturalSize();
}

QSize SvgPicture::naturalSize() const
{
    return m_renderer->defaultSize();
}

QSize SvgPicture::sizeHint() const
{
    return pictureSize();
}

QSize SvgPicture::minimumSizeHint() const
{
    return pictureSize();
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    if (!m_renderer->isValid())
        return;
    QSizeF drawn = QSizeF(m_renderer->defaultSize()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - drawn.width()) / 2.0, (height() - drawn.height()) / 2.0), drawn);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_renderer->render(&painter, target);
}
