#pragma once

#include "lists/PassListWindow.h"

// The passes to be returned; a double-click hands the chosen pass to the return screen.
class TfrmRiepChiaviRiconsegna : public PassListWindow
{
    Q_OBJECT
public:
    explicit TfrmRiepChiaviRiconsegna(AppContext& ctx, QWidget* parent = nullptr);

    static const PassListVariant& description();
};
