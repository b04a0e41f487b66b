#pragma once

#include "operations/SignatureForm.h"

// The print window of the withdrawal form, for the visitor and the responsible person to sign.
class TfrmStampaScheda_Ritiro : public SignatureFormWindow
{
    Q_OBJECT
public:
    explicit TfrmStampaScheda_Ritiro(AppContext& ctx, QWidget* parent = nullptr)
        : SignatureFormWindow(ctx, Operation::Withdrawal, parent)
    {
    }
};
