#pragma once

#include "operations/SignatureForm.h"

// The print window of the return form, for the visitor and the responsible person to sign.
class TfrmStampaScheda_Riconsegna : public SignatureFormWindow
{
    Q_OBJECT
public:
    explicit TfrmStampaScheda_Riconsegna(AppContext& ctx, QWidget* parent = nullptr)
        : SignatureFormWindow(ctx, Operation::Return, parent)
    {
    }
};
