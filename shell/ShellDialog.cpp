#include "shell/ShellDialog.h"

#include "shell/CommonParts.h"
#include "shell/Look.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

ShellDialog::ShellDialog(AppContext& ctx, QWidget* parent, const QString& objectName, const QString& caption,
                         QSize size, Placement placement)
    : QWidget(parent, Qt::Dialog), m_ctx(ctx), m_placement(placement)
{
    ScreenKit::name(this, objectName, caption);
    setWindowTitle(u" "_s + caption);
    Look::applyStyleSheet(this);
    m_content = ScreenKit::fitToScreen(this, size);
    ScreenKit::makeFixedDialogFrame(this);
}

void ShellDialog::joinLink(PictureButton* picture, ScreenKit::LinkText* link, const std::function<void()>& click)
{
    picture->setTakesFocus(false);
    ScreenKit::drivePressedLook(picture, link);
    connect(link, &QAbstractButton::clicked, this, click);
    connect(picture, &QAbstractButton::clicked, this, click);
}

QHBoxLayout* ShellDialog::centredRow(PictureButton* picture, ScreenKit::LinkText* link)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addStretch(1);
    row->addWidget(picture);
    row->addWidget(link);
    row->addStretch(1);
    return row;
}

QVBoxLayout* ShellDialog::layOutWithSheet(QWidget* sheet)
{
    auto* root = new QVBoxLayout(m_content);
    root->setContentsMargins(14, 14, 14, 12);
    root->setSpacing(12);
    root->addWidget(sheet, 1);
    return root;
}

void ShellDialog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (m_placement == Placement::OverOpener)
        CommonParts::centreOver(this, parentWidget());
    else
        ScreenKit::centreOnScreen(this);
}

void ShellDialog::paintEvent(QPaintEvent*)
{
    Look::paintShade(this);
}
