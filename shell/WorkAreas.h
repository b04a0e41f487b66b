#pragma once

class QWidget;

// The three work areas that the launcher opens.
enum class WorkArea
{
    CardFile,   // "Schedario Pass": the card editor
    Operations, // "Ritiri e Riconsegne": the operations chooser
    History,    // "Storico Operazioni": the history interval window
};

// The windows of the work areas, as the window set of the run provides them: the launcher reaches
// a work area through this, and knows none of their classes.
class WorkAreas
{
public:
    // The single window of a work area; null when the run has none.
    virtual QWidget* window(WorkArea area) const = 0;

protected:
    ~WorkAreas() = default;
};
