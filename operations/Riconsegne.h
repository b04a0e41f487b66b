#pragma once

#include "operations/OperationScreen.h"

// The return screen: a pass that is out comes back; its card becomes available again, and the
// return summary sends the completed cycle to the history.
class TfrmRiconsegne : public OperationScreen
{
    Q_OBJECT
public:
    explicit TfrmRiconsegne(AppContext& ctx, QWidget* parent = nullptr);

    static const OperationVariant& description();

protected:
    void openPassList() override;
    void openSignatureForm() override;
    bool afterRewrite(const PassRecord& written) override;
};
