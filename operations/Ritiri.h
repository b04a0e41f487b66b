#pragma once

#include "operations/OperationScreen.h"

// The withdrawal screen: a pass available for withdrawal goes out to a named person at a date and
// time; its card then holds who took it and when.
class TfrmRitiri : public OperationScreen
{
    Q_OBJECT
public:
    explicit TfrmRitiri(AppContext& ctx, QWidget* parent = nullptr);

    static const OperationVariant& description();

protected:
    void openPassList() override;
    void openSignatureForm() override;
};
