#include "shell/PictureButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionFocusRect>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

namespace {

constexpr int CaptionGap = 4;

QString resourcePath(const QString& picture)
{
    if (picture.isEmpty() || picture.startsWith(u':') || picture.startsWith(u'/'))
        return picture;
    return u":/pictures/"_s + picture + u".svg"_s;
}

// A field takes some keys for itself before any shortcut sees them (a line edit takes Ctrl+Home
// and Ctrl+End). In a window with a picture command on such a key, the command wins: the field
// is never asked.
class CommandKeyFirst : public QObject
{
public:
    CommandKeyFirst(PictureButton* command, const QKeySequence& key) : QObject(command), m_command(command), m_key(key)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        if (static_cast<QWidget*>(watched)->window() != m_command->window() || !m_command->isVisible() ||
            !m_command->isEnabled())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        return QKeySequence(key->keyCombination()) == m_key;
    }

private:
    PictureButton* m_command;
    QKeySequence m_key;
};

} // namespace

PictureButton::PictureButton(const QString& picture, QWidget* parent) : QToolButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setPicture(picture);
}

PictureButton::~PictureButton() = default;

void PictureButton::setPicture(const QString& picture)
{
    m_picture = resourcePath(picture);
    delete m_renderer;
    m_renderer = nullptr;
    if (!m_picture.isEmpty()) {
        m_renderer = new QSvgRenderer(m_picture, this);
        m_renderer->setAspectRatioMode(Qt::KeepAspectRatio);
    }
    updateGeometry();
    update();
}

void PictureButton::setPictureSize(const QSize& size)
{
    m_pictureSize = size;
    updateGeometry();
    update();
}

QSize PictureButton::pictureSize() const
{
    if (m_pictureSize.isValid())
        return m_pictureSize;
    if (m_renderer && m_renderer->isValid())
        return m_renderer->defaultSize();
    return QSize(32, 32);
}

void PictureButton::setTakesFocus(bool takes)
{
    setFocusPolicy(takes ? Qt::StrongFocus : Qt::NoFocus);
}

void PictureButton::setCommandKey(const QKeySequence& key, const QString& hint)
{
    m_commandKey = key;
    // Owned by the picture: a shortcut answers only while its parent is visible and enabled, so a
    // hidden or disabled picture leaves the key alone. The shortcut clicks at once, unlike the
    // button's own mnemonic shortcut, which animates the press and would also take the focus.
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &QAbstractButton::click);
    new CommandKeyFirst(this, key);
    const QString text = hint.isEmpty() ? accessibleName() : hint;
    setToolTip(text + u" ("_s + key.toString(QKeySequence::NativeText) + u')');
}

QSize PictureButton::sizeHint() const
{
    QSize size = pictureSize();
    if (!text().isEmpty()) {
        const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
        size = QSize(qMax(size.width(), caption.width()), size.height() + CaptionGap + caption.height());
    }
    return size + QSize(4, 4);
}

QSize PictureButton::minimumSizeHint() const
{
    return sizeHint();
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    // Only a plain Enter: Ctrl+Enter and the like are command keys of the window.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRect area = rect().adjusted(2, 2, -2, -2);
    // A pressed picture sinks by one unit, as a flat button does.
    if (isDown())
        area.translate(1, 1);

    QRect pictureArea = area;
    QRect captionArea;
    if (!text().isEmpty()) {
        const int captionHeight = fontMetrics().height();
        pictureArea.setBottom(area.bottom() - captionHeight - CaptionGap);
        captionArea = QRect(area.left(), pictureArea.bottom() + 1 + CaptionGap, area.width(), captionHeight);
    }

    if (m_renderer && m_renderer->isValid()) {
        QSize drawn = pictureSize().scaled(pictureArea.size(), Qt::KeepAspectRatio);
        if (!m_pictureSize.isValid() && text().isEmpty())
            drawn = m_renderer->defaultSize().scaled(pictureArea.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), drawn);
        target.moveCenter(pictureArea.center());
        if (!isEnabled())
            painter.setOpacity(0.4);
        m_renderer->render(&painter, target);
        painter.setOpacity(1.0);
    }
    if (!captionArea.isEmpty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(captionArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
