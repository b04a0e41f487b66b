#include "shell/ShellLook.h"

#include "shell/ScreenKit.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

void ShellLook::paintShade(QWidget* widget)
{
    QPainter painter(widget);
    QLinearGradient shade(0, 0, 0, widget->height());
    shade.setColorAt(0, QColor(0x46, 0x82, 0xb4)); // steel blue
    shade.setColorAt(1, Qt::white);
    painter.fillRect(widget->rect(), shade);
}

ScreenKit::LinkText* ShellLook::newLink(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* link = ScreenKit::named(new ScreenKit::LinkText(text, parent), objectName, text);
    QFont font(u"Tahoma"_s, 14);
    font.setUnderline(true);
    link->setFont(font);
    return link;
}

QWidget* ShellLook::newSheet(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* sheet = ScreenKit::named(new QWidget(parent), objectName, accessibleName);
    sheet->setAttribute(Qt::WA_StyledBackground);
    sheet->setStyleSheet(u"#"_s + objectName +
                         u" { background: #ffffff; border: 1px solid #9bb7d4; border-radius: 10px; }"_s);
    return sheet;
}

QWidget* ShellLook::newTitleBand(QWidget* parent, QWidget* picture, const QMargins& margins)
{
    auto* band = ScreenKit::named(new QWidget(parent), u"shpTitolo"_s, u"Titolo"_s);
    band->setAttribute(Qt::WA_StyledBackground);
    band->setStyleSheet(u"#shpTitolo { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                        u"stop:0 #1f4e79, stop:1 #4682b4); }"_s);
    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(margins);
    layout->addWidget(picture, 0, Qt::AlignCenter);
    return band;
}

QPushButton* ShellLook::newCloseButton(QWidget* window)
{
    auto* button = ScreenKit::newButton(u"Chiudi"_s, u"btnChiudi"_s, window);
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumSize(110, 34);
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
    ScreenKit::pressOnEscape(window, button);
    return button;
}

void ShellLook::addDialogFoot(QBoxLayout* column, QWidget* parent, const QList<QPushButton*>& buttons, int minimumWidth)
{
    auto* shpSepara = ScreenKit::named(new QFrame(parent), u"shpSepara"_s, u"Separatore"_s);
    shpSepara->setFixedHeight(5);
    shpSepara->setStyleSheet(u"background-color: #4682b4; border: none;"_s);
    column->addWidget(shpSepara);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumWidth(minimumWidth);
        row->addWidget(button);
    }
    column->addLayout(row);
}

void ShellLook::centreOver(QWidget* window, QWidget* over)
{
    QWidget* host = over ? over->window() : nullptr;
    if (!host || !host->isVisible()) {
        ScreenKit::centreOnScreen(window);
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(host->frameGeometry().center());
    window->move(frame.topLeft());
}
