#include "shell/CommonParts.h"

#include "shell/Look.h"
#include "shell/ScreenKit.h"

#include <QBoxLayout>
#include <QFrame>
#include <QPushButton>

using namespace Qt::StringLiterals;

ScreenKit::LinkText* CommonParts::newLink(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* link = ScreenKit::named(new ScreenKit::LinkText(text, parent), objectName, text);
    link->setFont(Look::font(Look::FontRole::Link));
    return link;
}

QWidget* CommonParts::newSheet(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* sheet = ScreenKit::named(new QWidget(parent), objectName, accessibleName);
    sheet->setAttribute(Qt::WA_StyledBackground);
    Look::setKind(sheet, Look::Kind::Sheet);
    return sheet;
}

QWidget* CommonParts::newTitleBand(QWidget* parent, QWidget* picture, const QMargins& margins)
{
    auto* band = ScreenKit::named(new QWidget(parent), u"shpTitolo"_s, u"Titolo"_s);
    band->setAttribute(Qt::WA_StyledBackground);
    Look::setKind(band, Look::Kind::TitleBand);
    auto* layout = new QVBoxLayout(band);
    layout->setContentsMargins(margins);
    layout->addWidget(picture, 0, Qt::AlignCenter);
    return band;
}

QPushButton* CommonParts::newCloseButton(QWidget* window)
{
    auto* button = ScreenKit::newButton(u"Chiudi"_s, u"btnChiudi"_s, window);
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumSize(110, 34);
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
    ScreenKit::pressOnEscape(window, button);
    return button;
}

void CommonParts::addDialogFoot(QBoxLayout* column, QWidget* parent, const QList<QPushButton*>& buttons,
                                int minimumWidth)
{
    auto* shpSepara = ScreenKit::named(new QFrame(parent), u"shpSepara"_s, u"Separatore"_s);
    shpSepara->setFixedHeight(5);
    Look::setKind(shpSepara, Look::Kind::Separator);
    column->addWidget(shpSepara);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        // The sheet's colours, which a styled window does not hand down: the buttons' edges are
        // drawn from the colour of the ground they stand on.
        button->setPalette(parent->palette());
        button->setCursor(Qt::PointingHandCursor);
        button->setMinimumWidth(minimumWidth);
        row->addWidget(button);
    }
    column->addLayout(row);
}

void CommonParts::centreOver(QWidget* window, QWidget* over)
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
