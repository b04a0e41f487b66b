#pragma once

#include "lists/PassListWindow.h"

// The passes available for withdrawal; a double-click hands the chosen pass to the withdrawal screen.
class TfrmRiepChiaviRitiro : public PassListWindow
{
    Q_OBJECT
public:
    explicit TfrmRiepChiaviRitiro(AppContext& ctx, QWidget* parent = nullptr);

    static const PassListVariant& description();
};
