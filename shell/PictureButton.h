#pragma once

#include <QKeySequence>
#include <QToolButton>

class QSvgRenderer;

// A clickable picture that is a real button: flat, drawn from an SVG of the resources, with the
// hand pointer, an accessible name and a press action for screen readers. It may carry a caption
// under the picture (the launcher's buttons) and may refuse the keyboard focus where a screen relies
// on pictures never taking it away from a field.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    // `picture` is a resource path (":/pictures/x.svg") or the bare name "x" of a picture in
    // resources/pictures.
    explicit PictureButton(const QString& picture = QString(), QWidget* parent = nullptr);
    ~PictureButton() override;

    void setPicture(const QString& picture);
    QString picture() const { return m_picture; }

    // The size at which the picture is drawn; by default its natural size.
    void setPictureSize(const QSize& size);
    QSize pictureSize() const;

    // Whether Tab and clicks give this picture the keyboard focus (true by default).
    void setTakesFocus(bool takes);

    // The key that presses this picture from anywhere in its window, as a click does (the same
    // click handler, so the same checks), while the picture is visible and enabled. The tooltip
    // shows `hint` (the accessible name when empty) followed by the key: "Salva la scheda (Ctrl+S)".
    void setCommandKey(const QKeySequence& key, const QString& hint = QString());
    QKeySequence commandKey() const { return m_commandKey; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter (Return or the keypad's Enter) presses a focused picture, as the space bar does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_picture;
    QSize m_pictureSize;
    QSvgRenderer* m_renderer = nullptr;
    QKeySequence m_commandKey;
};
