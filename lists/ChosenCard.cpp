#include "lists/ChosenCard.h"

#include "archives/CardFile.h"
#include "lists/PassLineModel.h"

namespace ChosenCard {

bool handOver(const QString& programFolder, const PassLineModel& lines, int row, PassLine::Form form,
              const std::function<bool(const PassRecord&)>& stillListed, const Receiver& receiver)
{
    return withCardFile(programFolder, [&](CardFile& file) {
        if (row < 0 || row >= lines.rowCount())
            return true;
        const qint64 position = lines.positionAt(row);
        const std::optional<PassRecord> card = file.readAt(position);
        if (!card)
            return false;
        const bool unchanged = PassLine::build(form, *card) == lines.lineAt(row);
        if (unchanged && (!stillListed || stillListed(*card)) && receiver)
            receiver(position, *card);
        return true;
    });
}

} // namespace ChosenCard
