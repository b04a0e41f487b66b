#include "shell/TMisc.h"

#include "shell/AppContext.h"
#include "shell/Seams.h"

void TMisc::Open(Shell* shell, const QString& command)
{
    if (!shell || command.isEmpty())
        return;
    shell->open(command);
}

void TMisc::Open(const AppContext& ctx, const QString& command)
{
    Open(ctx.shell, command);
}

QString TMisc::quoted(const QString& text)
{
    return u'"' + text + u'"';
}
