#pragma once

#include "lists/PassListWindow.h"

// The passes not yet returned, for viewing and printing only.
class TfrmRiepDaRiconsegnare : public PassListWindow
{
    Q_OBJECT
public:
    explicit TfrmRiepDaRiconsegnare(AppContext& ctx, QWidget* parent = nullptr);

    static const PassListVariant& description();
};
