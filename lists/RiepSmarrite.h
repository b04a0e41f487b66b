#pragma once

#include "lists/PassListWindow.h"

// The lost passes; a double-click loads the chosen card into the card editor.
class TfrmRiepSmarrite : public PassListWindow
{
    Q_OBJECT
public:
    explicit TfrmRiepSmarrite(AppContext& ctx, QWidget* parent = nullptr);

    static const PassListVariant& description();
};
